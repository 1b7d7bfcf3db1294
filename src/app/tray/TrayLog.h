#pragma once

#include <QLoggingCategory>

// The tray's log: warnings by default; QT_LOGGING_RULES="zentrel.tray.info=true" shows when the
// tray item was registered, and with which host.
Q_DECLARE_LOGGING_CATEGORY(lcTray)
