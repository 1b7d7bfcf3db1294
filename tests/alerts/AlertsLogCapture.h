#pragma once

#include <QString>
#include <QStringList>

// Collects what the alerts log (category zentrel.alerts, debug included) while it lives, so a test
// can see a failure they absorbed: no server, no sound device. Those messages are kept out of the
// test's own output; every other message passes through. One capture at a time.
class AlertsLogCapture {
public:
    AlertsLogCapture();
    ~AlertsLogCapture();
    AlertsLogCapture(const AlertsLogCapture&) = delete;
    AlertsLogCapture& operator=(const AlertsLogCapture&) = delete;

    // How many messages so far start with prefix.
    qsizetype count(const QString& prefix) const;
};
