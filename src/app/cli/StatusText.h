#pragma once

#include "cli/StatusSnapshot.h"

#include <QByteArray>
#include <QString>

// The status in words for a person, on one line: "7/10 prompts · 1 set owed · 10 pushups".
QString statusLine(const StatusSnapshot& status);
// The status in words on one or two lines, for a bar's tooltip.
QString statusTooltip(const StatusSnapshot& status);
// Progress through the current set in whole percent; 0 when prompts per set is below 1.
qint64 statusPercentage(const StatusSnapshot& status);
// The status as one line of compact JSON: the counters, plus "text", "tooltip", "class" and
// "percentage" in the shape a waybar custom module reads.
QByteArray statusJson(const StatusSnapshot& status);
