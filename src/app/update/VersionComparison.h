#pragma once

#include <QString>
#include <compare>

// Orders release versions the way appcast publishers expect: "1.5.1" > "1.5" > "1.5b3",
// "1.10" > "1.9", "1.0" == "1.0.0". Runs of digits compare as numbers, runs of letters as text;
// letters following a number mark a pre-release of it. Anything after a dash is build
// metadata and ignored.
namespace VersionComparison {
std::strong_ordering compareVersions(const QString& a, const QString& b);
}
