#pragma once

#include <QByteArray>
#include <optional>

// The prompt rules written a second way, on Qt's own JSON classes, to check the recogniser
// against. Empty when Qt cannot parse the line at all.
std::optional<bool> oracleIsUserPrompt(const QByteArray& line);
