#include "app/tray/DBusMenuExporter.h"

#include "app/tray/DBusMenuAdaptor.h"

#include <QAction>
#include <QMenu>

namespace {
constexpr int rootId = 0;

QVariantMap onlyNamed(QVariantMap properties, const QStringList& names) {
    if (names.isEmpty()) {
        return properties;
    }
    for (auto it = properties.begin(); it != properties.end();) {
        it = names.contains(it.key()) ? std::next(it) : properties.erase(it);
    }
    return properties;
}
} // namespace

DBusMenuExporter::DBusMenuExporter(QMenu* menu, QObject* parent)
    : QObject(parent)
    , m_menu(menu)
    , m_adaptor(new DBusMenuAdaptor(this)) {
    registerDBusMenuTypes();
    const QList<QAction*> actions = menu->actions();
    for (QAction* action : actions) {
        connect(action, &QAction::changed, this, [this, action] { announceChange(action); });
    }
}

QAction* DBusMenuExporter::actionFor(int id) const {
    if (!m_menu || id <= rootId || id > m_menu->actions().size()) {
        return nullptr;
    }
    return m_menu->actions().at(id - 1);
}

bool DBusMenuExporter::hasItem(int id) const {
    return id == rootId || actionFor(id);
}

QVariantMap DBusMenuExporter::propertiesOf(int id, const QStringList& propertyNames) const {
    QVariantMap properties;
    if (id == rootId) {
        properties.insert(QStringLiteral("children-display"), QStringLiteral("submenu"));
    } else if (const QAction* action = actionFor(id)) {
        properties.insert(QStringLiteral("label"), action->text());
        properties.insert(QStringLiteral("enabled"), action->isEnabled());
        properties.insert(QStringLiteral("visible"), action->isVisible());
    }
    return onlyNamed(properties, propertyNames);
}

DBusMenuLayoutItem DBusMenuExporter::layout(int parentId, int recursionDepth,
                                            const QStringList& propertyNames) const {
    DBusMenuLayoutItem item{parentId, propertiesOf(parentId, propertyNames), {}};
    if (parentId != rootId || recursionDepth == 0 || !m_menu) {
        return item;
    }
    for (int id = 1; id <= m_menu->actions().size(); ++id) {
        item.children.append({id, propertiesOf(id, propertyNames), {}});
    }
    return item;
}

DBusMenuItemList DBusMenuExporter::groupProperties(const QList<int>& ids,
                                                   const QStringList& propertyNames) const {
    DBusMenuItemList items;
    for (int id : ids) {
        if (hasItem(id)) {
            items.append({id, propertiesOf(id, propertyNames)});
        }
    }
    return items;
}

QVariant DBusMenuExporter::itemProperty(int id, const QString& name) const {
    return propertiesOf(id, {}).value(name);
}

bool DBusMenuExporter::handleEvent(int id, const QString& eventId) {
    QAction* action = actionFor(id);
    if (!action) {
        return false;
    }
    if (eventId == QLatin1String("clicked")) {
        QMetaObject::invokeMethod(action, &QAction::trigger, Qt::QueuedConnection);
    }
    return true;
}

void DBusMenuExporter::announceChange(QAction* action) {
    if (!m_menu) {
        return;
    }
    const int id = int(m_menu->actions().indexOf(action)) + 1;
    if (id > rootId) {
        Q_EMIT m_adaptor->ItemsPropertiesUpdated({{id, propertiesOf(id, {})}}, {});
    }
}
