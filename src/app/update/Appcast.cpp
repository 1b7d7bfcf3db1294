#include "app/update/Appcast.h"

#include "app/update/VersionComparison.h"

#include <QList>
#include <QXmlStreamReader>

namespace {

const QString sparkleNamespace = QStringLiteral("http://www.andymatuschak.org/xml-namespaces/sparkle");

struct Item {
    Appcast::Release release;
    QString platform;
    bool betaChannel = false;
};

QUrl webUrl(const QString& text) {
    const QUrl url(text.trimmed(), QUrl::StrictMode);
    const bool web = url.scheme() == u"https" || url.scheme() == u"http";
    return web && !url.host().isEmpty() ? url : QUrl();
}

void readEnclosure(const QXmlStreamAttributes& attributes, Item& item) {
    const auto sparkle = [&attributes](const char* name) {
        return attributes.value(sparkleNamespace, QLatin1StringView(name)).trimmed().toString();
    };
    if (const QString version = sparkle("version"); !version.isEmpty()) {
        item.release.version = version;
    }
    if (const QString shown = sparkle("shortVersionString"); !shown.isEmpty()) {
        item.release.displayVersion = shown;
    }
    item.platform = sparkle("os");
    if (item.release.downloadPage.isEmpty()) {
        item.release.downloadPage = webUrl(attributes.value(QLatin1StringView("url")).toString());
    }
}

// A <link> names the release notes or download page and beats the enclosure's file url.
void readItemChild(QXmlStreamReader& xml, Item& item) {
    const bool sparkle = xml.namespaceUri() == sparkleNamespace;
    const QStringView name = xml.name();
    if (name == u"enclosure" && xml.namespaceUri().isEmpty()) {
        readEnclosure(xml.attributes(), item);
        xml.skipCurrentElement();
    } else if (name == u"link" && xml.namespaceUri().isEmpty()) {
        if (const QUrl link = webUrl(xml.readElementText()); link.isValid()) {
            item.release.downloadPage = link;
        }
    } else if (sparkle && name == u"version") {
        item.release.version = xml.readElementText().trimmed();
    } else if (sparkle && name == u"shortVersionString") {
        item.release.displayVersion = xml.readElementText().trimmed();
    } else if (sparkle && name == u"channel") {
        item.betaChannel = true;
        xml.skipCurrentElement();
    } else {
        xml.skipCurrentElement();
    }
}

Item readItem(QXmlStreamReader& xml) {
    Item item;
    while (xml.readNextStartElement()) {
        readItemChild(xml, item);
    }
    if (item.release.displayVersion.isEmpty()) {
        item.release.displayVersion = item.release.version;
    }
    return item;
}

// Every <item> anywhere below the root, in document order; stops at the first XML error.
QList<Item> readItems(QXmlStreamReader& xml) {
    QList<Item> items;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == u"item" && xml.namespaceUri().isEmpty()) {
            items.append(readItem(xml));
        }
    }
    return items;
}

bool offeredTo(const Item& item, QStringView platform) {
    return !item.betaChannel && !item.release.version.isEmpty() && item.platform == platform;
}

std::optional<Appcast::Release> newestFor(const QList<Item>& items, QStringView platform) {
    std::optional<Appcast::Release> newest;
    for (const Item& item : items) {
        if (offeredTo(item, platform) &&
            (!newest || VersionComparison::compareVersions(item.release.version, newest->version) > 0)) {
            newest = item.release;
        }
    }
    return newest;
}

std::optional<Appcast::Release> fail(QString* error, const QString& reason) {
    if (error) {
        *error = reason;
    }
    return std::nullopt;
}

} // namespace

std::optional<Appcast::Release> Appcast::newestRelease(const QByteArray& feed, QString* error) {
    QXmlStreamReader xml(feed);
    const QList<Item> items = readItems(xml);
    if (xml.hasError()) {
        return fail(error, QStringLiteral("the update feed is not valid XML (%1)").arg(xml.errorString()));
    }
    if (auto forLinux = newestFor(items, u"linux")) {
        return forLinux;
    }
    if (auto anyPlatform = newestFor(items, u"")) {
        return anyPlatform;
    }
    return fail(error, QStringLiteral("the update feed lists no release for Linux"));
}
