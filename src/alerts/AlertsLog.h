#pragma once

#include <QLoggingCategory>

// Failures the alerts absorb (no server, no sound device) are reported here, off by default.
Q_DECLARE_LOGGING_CATEGORY(lcAlerts)
