#pragma once

#include <QLoggingCategory>

// The shell's log: warnings by default; QT_LOGGING_RULES="zentrel.app.info=true" shows the
// start-up milestones ("tray item registered", "panel shown").
Q_DECLARE_LOGGING_CATEGORY(lcApp)
