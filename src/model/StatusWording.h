#pragma once

#include "model/StatusCounters.h"

#include <QString>

// The status in words, the same wherever it is shown: beside the tray icon, in its tooltip, on a
// bar or in a terminal.
namespace StatusWording {
// The owed sets when there are any, otherwise the progress through the current set: "2", "3/10".
QString title(const StatusCounters& counters);
// One line: "7/10 prompts · 1 set owed · 10 pushups", and "not running" for the stored status.
QString line(const StatusCounters& counters, bool running);
// One or two lines for a bar's tooltip.
QString tooltip(const StatusCounters& counters, bool running);
// "owed" or "counting", for a bar to style the status by.
QString state(const StatusCounters& counters);
} // namespace StatusWording
