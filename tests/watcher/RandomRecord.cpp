#include "RandomRecord.h"

#include <QString>
#include <algorithm>

RandomRecord::RandomRecord(quint32 seed)
    : m_random(seed) {}

bool RandomRecord::chance(int percent) {
    return below(100) < percent;
}

int RandomRecord::below(int bound) {
    return static_cast<int>(m_random.bounded(quint32(bound)));
}

QByteArray RandomRecord::pick(std::initializer_list<const char*> choices) {
    return QByteArray(*(choices.begin() + below(static_cast<int>(choices.size()))));
}

QByteArray RandomRecord::space() {
    return chance(85) ? QByteArray() : pick({" ", "\t", "  ", " \r\n "});
}

// JSON string literal for `utf8`, with some characters spelled as \u escapes.
QByteArray RandomRecord::string(const QByteArray& utf8) {
    const QString text = QString::fromUtf8(utf8);
    QByteArray out = "\"";
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar unit = text.at(i);
        if (unit == u'"' || unit == u'\\') {
            out += '\\' + QByteArray(1, static_cast<char>(unit.unicode()));
            continue;
        }
        // A surrogate pair is escaped whole or not at all, so every escape stays valid.
        const qsizetype units = unit.isHighSurrogate() ? 2 : 1;
        const QStringView character = QStringView(text).mid(i, units);
        if (unit.unicode() < 0x20 || chance(m_escapePercent)) {
            for (const QChar part : character) {
                out += "\\u" + QByteArray::number(part.unicode(), 16).rightJustified(4, '0');
            }
        } else {
            out += character.toUtf8();
        }
        i += units - 1;
    }
    return out + '"';
}

QByteArray RandomRecord::object(QList<Field> fields) {
    std::shuffle(fields.begin(), fields.end(), m_random);
    QList<QByteArray> members;
    for (const Field& field : fields) {
        members += space() + string(field.first) + space() + ':' + space() + field.second + space();
    }
    return '{' + members.join(',') + space() + '}';
}

QByteArray RandomRecord::array(const QList<QByteArray>& values) {
    QList<QByteArray> members;
    for (const QByteArray& value : values) {
        members += space() + value + space();
    }
    return '[' + members.join(',') + space() + ']';
}

QByteArray RandomRecord::text() {
    return pick({"user", "User", "external", "tool_result", "text", "hello w\xc3\xb6rld \xe2\x9c\x93",
                 "\xe6\x97\xa5\xe6\x9c\xac\xe8\xaa\x9e", "emoji \xf0\x9f\x98\x80", "a\nb \"q\" c\\d", "",
                 "\x01\x1f"});
}

QByteArray RandomRecord::filler(int depth) {
    const int kind = below(depth > 0 ? 7 : 5);
    if (kind == 5) {
        QList<Field> fields;
        for (int i = below(4); i > 0; --i) {
            fields += Field("k" + QByteArray::number(i), filler(depth - 1));
        }
        return object(fields);
    }
    if (kind == 6) {
        QList<QByteArray> values;
        for (int i = below(4); i > 0; --i) {
            values += filler(depth - 1);
        }
        return array(values);
    }
    if (kind == 4) {
        return string(text());
    }
    return pick({"true", "false", "null", "0", "-12", "3.25e-3", "1E+2"});
}

QByteArray RandomRecord::oneOf(int percent, const QByteArray& usual,
                               std::initializer_list<const char*> others) {
    return chance(percent) ? usual : pick(others);
}

QByteArray RandomRecord::flag() {
    return pick({"true", "false", "\"true\"", "1", "0", "null"});
}

QByteArray RandomRecord::block() {
    if (chance(12)) {
        return filler(1);
    }
    QList<Field> fields{{"tool_use_id", string("toolu_01")}};
    if (chance(88)) {
        fields += Field("type", oneOf(75, string("tool_result"),
                                      {"\"text\"", "\"Tool_Result\"", "5", "null", "\"image\"", "[]"}));
    }
    if (chance(60)) {
        fields += Field("content", filler(2));
    }
    return object(fields);
}

QByteArray RandomRecord::content() {
    if (chance(55)) {
        QList<QByteArray> blocks;
        for (int i = below(4); i >= 0 && chance(92); --i) {
            blocks += block();
        }
        return array(blocks);
    }
    return chance(60) ? string(text()) : pick({"null", "7", "{}", "true", "\"\""});
}

QByteArray RandomRecord::message() {
    if (chance(8)) {
        return pick({"null", "\"user\"", "[]", "3", "[{\"role\":\"user\"}]"});
    }
    QList<Field> fields;
    if (chance(90)) {
        fields += Field("role", oneOf(85, string("user"), {"\"assistant\"", "\"User\"", "1", "null"}));
    }
    if (chance(88)) {
        fields += Field("content", content());
    }
    if (chance(30)) {
        fields += Field("model", filler(2));
    }
    return object(fields);
}

QByteArray RandomRecord::record() {
    QList<Field> fields{{"uuid", string("0bdd2740-b6f7")}};
    if (chance(90)) {
        fields += Field(
            "type", oneOf(85, string("user"),
                          {"\"assistant\"", "\"User\"", "1", "null", "[\"user\"]", "{\"type\":\"user\"}"}));
    }
    const std::initializer_list<std::pair<const char*, int>> flags{
        {"isSidechain", 35}, {"isMeta", 20}, {"isCompactSummary", 12}};
    for (const auto& [name, percent] : flags) {
        if (chance(percent)) {
            fields += Field(name, flag());
        }
    }
    if (chance(50)) {
        fields += Field("userType",
                        oneOf(70, string("external"), {"\"human\"", "\"External\"", "\"\"", "5", "null"}));
    }
    if (chance(94)) {
        fields += Field("message", message());
    }
    if (chance(40)) {
        fields += Field("toolUseResult", filler(3));
    }
    return object(fields);
}

QByteArray RandomRecord::damaged(QByteArray line) {
    const int at = below(static_cast<int>(line.size()));
    switch (below(4)) {
    case 0:
        return line.left(at);
    case 1:
        return line + pick({"x", "}", ",", "{}", " 1", "]"}) + QByteArray(chance(30) ? 1 : 0, '\0');
    case 2:
        line[at] = pick({"\xff", "\xc3", "\x80", "\"", "\x01", "{", "\\"}).at(0);
        return line;
    default:
        return line.insert(at, QByteArray(1, '\0'));
    }
}

QByteArray RandomRecord::next() {
    m_escapePercent = chance(25) ? 30 : 0;
    const QByteArray line = record();
    return chance(12) ? damaged(line) : line;
}
