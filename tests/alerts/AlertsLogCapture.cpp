#include "AlertsLogCapture.h"

#include <QLoggingCategory>
#include <cstring>

namespace {
QStringList captured;
QtMessageHandler previousHandler = nullptr;

void capture(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (context.category && std::strcmp(context.category, "zentrel.alerts") == 0) {
        captured << message;
    } else {
        previousHandler(type, context, message);
    }
}
} // namespace

AlertsLogCapture::AlertsLogCapture() {
    captured.clear();
    QLoggingCategory::setFilterRules(QStringLiteral("zentrel.alerts.debug=true"));
    previousHandler = qInstallMessageHandler(capture);
}

AlertsLogCapture::~AlertsLogCapture() {
    qInstallMessageHandler(previousHandler);
    QLoggingCategory::setFilterRules(QString());
}

qsizetype AlertsLogCapture::count(const QString& prefix) const {
    qsizetype matching = 0;
    for (const QString& message : captured) {
        matching += message.startsWith(prefix) ? 1 : 0;
    }
    return matching;
}
