#pragma once

#include "cli/StatusSnapshot.h"

#include <QByteArray>
#include <QString>

// The status in words for a person, on one line: "7/10 prompts · 1 set owed · 10 pushups".
QString statusLine(const StatusSnapshot& status);
// The status as one line of compact JSON: the counters, plus "text", "tooltip", "class" and
// "percentage" in the shape a waybar custom module reads.
QByteArray statusJson(const StatusSnapshot& status);
