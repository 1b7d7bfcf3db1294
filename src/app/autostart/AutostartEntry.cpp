#include "app/autostart/AutostartEntry.h"

#include <QStringList>
#include <algorithm>

namespace {

const QString mainGroup = QStringLiteral("Desktop Entry");
// Characters that force an Exec argument into double quotes.
const QString reservedInExec = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
// Characters that must be backslash-escaped inside those quotes.
const QString escapedInQuotes = QStringLiteral("\"`$\\");

QString unescapeValue(const QString& value) {
    QString text;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] != u'\\' || i + 1 == value.size()) {
            text.append(value[i]);
            continue;
        }
        const QChar next = value[++i];
        switch (next.unicode()) {
        case u's':
            text.append(u' ');
            break;
        case u'n':
            text.append(u'\n');
            break;
        case u't':
            text.append(u'\t');
            break;
        case u'r':
            text.append(u'\r');
            break;
        default:
            text.append(next);
        }
    }
    return text;
}

QString escapeValue(QString value) {
    return value.replace(u'\\', QStringLiteral("\\\\"))
        .replace(u'\n', QStringLiteral("\\n"))
        .replace(u'\t', QStringLiteral("\\t"))
        .replace(u'\r', QStringLiteral("\\r"));
}

QString quoteArgument(const QString& argument) {
    const bool plain =
        std::none_of(argument.cbegin(), argument.cend(), [](QChar c) { return reservedInExec.contains(c); });
    if (plain) {
        return argument;
    }
    QString quoted = QStringLiteral("\"");
    for (const QChar c : argument) {
        if (escapedInQuotes.contains(c)) {
            quoted.append(u'\\');
        }
        quoted.append(c);
    }
    return quoted.append(u'"');
}

QString firstQuotedArgument(QStringView exec) {
    QString argument;
    for (qsizetype i = 1; i < exec.size() && exec[i] != u'"'; ++i) {
        if (exec[i] == u'\\' && i + 1 < exec.size()) {
            ++i;
        }
        argument.append(exec[i]);
    }
    return argument;
}

QString firstArgument(QStringView exec) {
    exec = exec.trimmed();
    if (exec.startsWith(u'"')) {
        return firstQuotedArgument(exec);
    }
    const qsizetype end = exec.indexOf(u' ');
    return (end < 0 ? exec : exec.left(end)).toString();
}

bool isTrue(const QString& value) {
    return value == u"true" || value == u"1";
}
bool isFalse(const QString& value) {
    return value == u"false" || value == u"0";
}

} // namespace

AutostartEntry AutostartEntry::parse(const QByteArray& contents) {
    AutostartEntry entry;
    bool inMainGroup = false;
    const QStringList lines = QString::fromUtf8(contents).split(u'\n');
    for (const QString& rawLine : lines) {
        const QString line = rawLine.trimmed();
        if (line.startsWith(u'[') && line.endsWith(u']')) {
            inMainGroup = line.mid(1, line.size() - 2) == mainGroup;
        } else if (const qsizetype equals = line.indexOf(u'=');
                   inMainGroup && equals > 0 && !line.startsWith(u'#')) {
            entry.m_keys.insert(line.left(equals).trimmed(), unescapeValue(line.mid(equals + 1).trimmed()));
        }
    }
    return entry;
}

QByteArray AutostartEntry::render(const QString& program) {
    const QString exec = escapeValue(quoteArgument(QString(program).replace(u'%', QStringLiteral("%%"))));
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=Zentrel\n"
                          "Comment=Exercise breaks paced by your AI coding prompts\n"
                          "Exec=%1\n"
                          "Icon=app.zentrel.Zentrel\n"
                          "Terminal=false\n"
                          "X-GNOME-Autostart-enabled=true\n")
        .arg(exec)
        .toUtf8();
}

QString AutostartEntry::program() const {
    return firstArgument(m_keys.value(QStringLiteral("Exec")))
        .replace(QStringLiteral("%%"), QStringLiteral("%"));
}

bool AutostartEntry::switchedOff() const {
    return isTrue(m_keys.value(QStringLiteral("Hidden"))) ||
           isFalse(m_keys.value(QStringLiteral("X-GNOME-Autostart-enabled")));
}
