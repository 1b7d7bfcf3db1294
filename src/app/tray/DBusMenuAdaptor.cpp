#include "app/tray/DBusMenuAdaptor.h"

#include "app/tray/DBusMenuExporter.h"

#include <QGuiApplication>

namespace {
// The menu never changes shape, so its layout has a single revision.
constexpr uint layoutRevision = 1;
} // namespace

DBusMenuAdaptor::DBusMenuAdaptor(DBusMenuExporter* exporter)
    : QDBusAbstractAdaptor(exporter)
    , m_exporter(exporter) {}

QString DBusMenuAdaptor::textDirection() const {
    return QGuiApplication::layoutDirection() == Qt::RightToLeft ? QStringLiteral("rtl")
                                                                 : QStringLiteral("ltr");
}

uint DBusMenuAdaptor::GetLayout(int parentId, int recursionDepth, const QStringList& propertyNames,
                                DBusMenuLayoutItem& layout) {
    layout = m_exporter->layout(parentId, recursionDepth, propertyNames);
    return layoutRevision;
}

QList<DBusMenuItem> DBusMenuAdaptor::GetGroupProperties(const QList<int>& ids,
                                                        const QStringList& propertyNames) {
    return m_exporter->groupProperties(ids, propertyNames);
}

QDBusVariant DBusMenuAdaptor::GetProperty(int id, const QString& name) {
    return QDBusVariant(m_exporter->itemProperty(id, name));
}

void DBusMenuAdaptor::Event(int id, const QString& eventId, const QDBusVariant&, uint) {
    m_exporter->handleEvent(id, eventId);
}

QList<int> DBusMenuAdaptor::EventGroup(const QList<DBusMenuEvent>& events) {
    QList<int> unknownIds;
    for (const DBusMenuEvent& event : events) {
        if (!m_exporter->handleEvent(event.id, event.eventId)) {
            unknownIds.append(event.id);
        }
    }
    return unknownIds;
}

bool DBusMenuAdaptor::AboutToShow(int) {
    return false;
}

QList<int> DBusMenuAdaptor::AboutToShowGroup(const QList<int>& ids, QList<int>& idErrors) {
    for (int id : ids) {
        if (!m_exporter->hasItem(id)) {
            idErrors.append(id);
        }
    }
    return {};
}
