#include "app/tray/StatusNotifierItemAdaptor.h"

#include "app/tray/StatusNotifierItem.h"
#include "common/AppIdentity.h"

StatusNotifierItemAdaptor::StatusNotifierItemAdaptor(StatusNotifierItem* item)
    : QDBusAbstractAdaptor(item)
    , m_item(item) {}

QString StatusNotifierItemAdaptor::id() const {
    return AppIdentity::applicationId;
}

QString StatusNotifierItemAdaptor::title() const {
    return m_item->label();
}

SniIconPixmapList StatusNotifierItemAdaptor::iconPixmap() const {
    return m_item->iconPixmaps();
}

SniToolTip StatusNotifierItemAdaptor::toolTip() const {
    return m_item->toolTip();
}

QDBusObjectPath StatusNotifierItemAdaptor::menu() const {
    return QDBusObjectPath(StatusNotifierItem::menuPath);
}

void StatusNotifierItemAdaptor::Activate(int x, int y) {
    m_item->activate(QPoint(x, y));
}

// A middle click and the wheel have no meaning for this item.
void StatusNotifierItemAdaptor::SecondaryActivate(int, int) {}

void StatusNotifierItemAdaptor::ContextMenu(int x, int y) {
    m_item->showContextMenu(QPoint(x, y));
}

void StatusNotifierItemAdaptor::Scroll(int, const QString&) {}
