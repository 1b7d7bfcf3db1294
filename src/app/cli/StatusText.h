#pragma once

#include "app/cli/StatusSnapshot.h"

#include <QByteArray>
#include <QString>

// The status as one line of compact JSON: the counters, plus "text", "tooltip", "class" and
// "percentage" in the shape a waybar custom module reads.
QByteArray statusJson(const StatusSnapshot& status);
