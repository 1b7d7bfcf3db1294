#include "alerts/AlertsLog.h"

Q_LOGGING_CATEGORY(lcAlerts, "zentrel.alerts", QtWarningMsg)
