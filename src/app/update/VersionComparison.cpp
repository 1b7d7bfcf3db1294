#include "app/update/VersionComparison.h"

#include <QList>
#include <QStringView>
#include <algorithm>

namespace VersionComparison {
namespace {

enum class PartKind { Number, Text, Separator };

struct Part {
    PartKind kind;
    QString text;
};

PartKind kindOf(QChar c) {
    if (c.isDigit()) {
        return PartKind::Number;
    }
    if (c.isPunct() || c.isSpace() || c.isSymbol()) {
        return PartKind::Separator;
    }
    return PartKind::Text;
}

// Every separator stands alone so "1..2" keeps both dots; digits and letters group into runs.
QList<Part> split(const QString& version) {
    QList<Part> parts;
    for (const QChar c : version) {
        if (c == u'-' && !parts.isEmpty()) {
            break;
        }
        const PartKind kind = kindOf(c);
        if (parts.isEmpty() || parts.last().kind != kind || kind == PartKind::Separator) {
            parts.append({kind, QString(c)});
        } else {
            parts.last().text.append(c);
        }
    }
    return parts;
}

// The leading run of numbers and dots, e.g. "1.0.2" of "1.0.2b4".
qsizetype numericPrefixLength(const QList<Part>& parts) {
    const auto end = std::find_if_not(parts.cbegin(), parts.cend(), [](const Part& part) {
        return part.kind == PartKind::Number || part.text == u'.';
    });
    return end - parts.cbegin();
}

// Pads the shorter leading run with zeros so "1.0" meets "1.0.0" as equal.
void balance(QList<Part>& shorter, const QList<Part>& longer) {
    const qsizetype from = numericPrefixLength(shorter);
    const qsizetype to = numericPrefixLength(longer);
    for (qsizetype i = from; i < to; ++i) {
        const bool number = longer[i].kind == PartKind::Number;
        shorter.insert(i, {longer[i].kind, number ? QStringLiteral("0") : longer[i].text});
    }
}

// Numbers of any length: drop leading zeros, then the longer digit run is the larger number.
std::strong_ordering compareNumbers(QStringView a, QStringView b) {
    while (a.size() > 1 && a.front() == u'0') {
        a = a.mid(1);
    }
    while (b.size() > 1 && b.front() == u'0') {
        b = b.mid(1);
    }
    if (a.size() != b.size()) {
        return a.size() <=> b.size();
    }
    return a.compare(b) <=> 0;
}

// Text is always older than a number or separator in the same place: "1.0b1" < "1.0.1".
int rank(PartKind kind) {
    switch (kind) {
    case PartKind::Text:
        return 0;
    case PartKind::Separator:
        return 1;
    case PartKind::Number:
        return 2;
    }
    return 0;
}

std::strong_ordering compareParts(const Part& a, const Part& b) {
    if (a.kind != b.kind) {
        return rank(a.kind) <=> rank(b.kind);
    }
    switch (a.kind) {
    case PartKind::Number:
        return compareNumbers(a.text, b.text);
    case PartKind::Text:
        return a.text.compare(b.text) <=> 0;
    case PartKind::Separator:
        break;
    }
    return std::strong_ordering::equal;
}

// Past the common length, a trailing word ("b3", "rc1") marks a pre-release of the shorter
// version; a trailing number makes the longer version newer.
std::strong_ordering compareTails(const QList<Part>& a, const QList<Part>& b) {
    if (a.size() == b.size()) {
        return std::strong_ordering::equal;
    }
    const bool aLonger = a.size() > b.size();
    const Part& extra = aLonger ? a[b.size()] : b[a.size()];
    const bool longerIsNewer = extra.kind != PartKind::Text;
    return aLonger == longerIsNewer ? std::strong_ordering::greater : std::strong_ordering::less;
}

} // namespace

std::strong_ordering compareVersions(const QString& a, const QString& b) {
    QList<Part> partsA = split(a);
    QList<Part> partsB = split(b);
    balance(partsA, partsB);
    balance(partsB, partsA);
    const qsizetype common = std::min(partsA.size(), partsB.size());
    for (qsizetype i = 0; i < common; ++i) {
        if (const auto order = compareParts(partsA[i], partsB[i]); order != 0) {
            return order;
        }
    }
    return compareTails(partsA, partsB);
}

} // namespace VersionComparison
