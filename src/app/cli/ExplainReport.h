#pragma once

#include "watcher/explain/TranscriptExplanation.h"

#include <QJsonObject>
#include <QString>

// How `zentrel explain` tells what the watcher makes of one transcript: its prompts, the other
// lines counted by the reason they are not prompts and, when asked, the verdict on every line.
// Never the text of a line.

// For a person: a heading line, a line per reason, then a line per transcript line when asked.
QString explanationText(const QString& file, const TranscriptExplanation& explanation, bool withLines);
// {"file": path, "prompts": n, "ignored": {reason: count}}, plus "lines": [{"line", "verdict"}]
// when asked.
QJsonObject explanationJson(const QString& file, const TranscriptExplanation& explanation, bool withLines);
