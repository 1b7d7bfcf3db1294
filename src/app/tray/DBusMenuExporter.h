#pragma once

#include "app/tray/DBusMenuTypes.h"

#include <QObject>
#include <QPointer>

class DBusMenuAdaptor;
class QAction;
class QMenu;

// Publishes a flat QMenu as a com.canonical.dbusmenu tree, so tray hosts draw the menu
// themselves and send clicks back. Item ids are the actions' positions counted from 1;
// 0 is the invisible root.
class DBusMenuExporter : public QObject {
    Q_OBJECT

public:
    explicit DBusMenuExporter(QMenu* menu, QObject* parent = nullptr);

    DBusMenuLayoutItem layout(int parentId, int recursionDepth, const QStringList& propertyNames) const;
    DBusMenuItemList groupProperties(const QList<int>& ids, const QStringList& propertyNames) const;
    QVariant itemProperty(int id, const QString& name) const;
    bool hasItem(int id) const;
    // Runs the item's action on the next turn of the event loop, so the host gets its reply first.
    bool handleEvent(int id, const QString& eventId);

private:
    QAction* actionFor(int id) const;
    QVariantMap propertiesOf(int id, const QStringList& propertyNames) const;
    void announceChange(QAction* action);

    QPointer<QMenu> m_menu;
    DBusMenuAdaptor* m_adaptor;
};
