#include "app/shell/AppLog.h"

Q_LOGGING_CATEGORY(lcApp, "zentrel.app", QtWarningMsg)
