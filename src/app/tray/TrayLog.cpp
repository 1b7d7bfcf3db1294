#include "app/tray/TrayLog.h"

Q_LOGGING_CATEGORY(lcTray, "zentrel.tray", QtWarningMsg)
