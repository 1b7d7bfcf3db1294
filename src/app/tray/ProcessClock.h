#pragma once

#include <QtGlobal>

// Milliseconds since the kernel started this process (so loading the binary and its
// libraries counts too), for the start-to-tray figure in the log.
qint64 msSinceProcessStart();
