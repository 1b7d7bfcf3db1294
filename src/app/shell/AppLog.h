#pragma once

#include <QLoggingCategory>

// The shell's log: warnings by default; QT_LOGGING_RULES="zentrel.app.info=true" shows the
// start-up milestones ("panel shown", the alerts posted).
Q_DECLARE_LOGGING_CATEGORY(lcApp)
