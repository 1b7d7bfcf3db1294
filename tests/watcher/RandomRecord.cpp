#include "RandomRecord.h"

#include <algorithm>

bool RandomRecord::chance(int percent) {
    return m_random.bounded(100) < percent;
}

QByteArray RandomRecord::pick(const QList<QByteArray>& choices) {
    return choices.at(m_random.bounded(static_cast<int>(choices.size())));
}

void RandomRecord::maybeAdd(Fields& fields, int percent, const QByteArray& key, const QByteArray& value) {
    if (chance(percent)) {
        fields.append({key, value});
    }
}

// The string `text` four times in five, otherwise one of the other JSON values.
QByteArray RandomRecord::usually(const QByteArray& text, const QList<QByteArray>& others) {
    return chance(80) ? string(text) : pick(others);
}

// JSON string literal for `utf8`, with some ASCII characters spelled as \u escapes.
QByteArray RandomRecord::string(const QByteArray& utf8) {
    QByteArray out = "\"";
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\' + QByteArray(1, c);
        } else if (byte < 0x20 || (byte < 0x80 && chance(m_escapePercent))) {
            out += "\\u" + QByteArray::number(byte, 16).rightJustified(4, '0');
        } else {
            out += c;
        }
    }
    return out + '"';
}

QByteArray RandomRecord::object(Fields fields) {
    std::shuffle(fields.begin(), fields.end(), m_random);
    QByteArrayList members;
    for (const auto& [key, value] : fields) {
        members += string(key) + pick({":", " : "}) + value;
    }
    return '{' + members.join(',') + '}';
}

QByteArray RandomRecord::filler(int depth) {
    Fields fields;
    QByteArrayList values;
    for (int i = depth > 0 ? m_random.bounded(4) : 0; i > 0; --i) {
        fields.append({"k" + QByteArray::number(i), filler(depth - 1)});
        values += fields.last().second;
    }
    if (fields.isEmpty()) {
        return pick({"true", "null", "-12", "3.25e-3", string("user"), string("tool_result"), string(""),
                     string("gr\xc3\xbc\xc3\x9f \xe6\x97\xa5 \xf0\x9f\x98\x80"), string("a\nb \"q\" c\\d")});
    }
    return chance(50) ? object(fields) : '[' + values.join(',') + ']';
}

// Typed text, or text the assistant writes in the user's name, or something near either.
QByteArray RandomRecord::text() {
    return pick({"fix it", "[Request interrupted by user]", "<local-command-stderr>x", "<task-notification>",
                 "(no content)", " <bash-stdout>", "<bash-input>ls</bash-input>"});
}

QByteArray RandomRecord::message() {
    QByteArrayList blocks;
    for (int i = m_random.bounded(4); i >= 0 && chance(92); --i) {
        Fields block{{"content", filler(2)}};
        maybeAdd(block, 88, "type", usually("tool_result", {"\"text\"", "\"text\"", "\"Tool_Result\"", "5"}));
        maybeAdd(block, 50, "text", usually(text(), {"null", "7"}));
        blocks += chance(10) ? filler(1) : object(block);
    }
    Fields fields{{"model", filler(1)}};
    maybeAdd(fields, 90, "role", usually("user", {"\"assistant\"", "\"User\"", "1", "null"}));
    maybeAdd(fields, 85, "content",
             chance(55) ? '[' + blocks.join(',') + ']' : usually(text(), {"null", "7", "{}", "\"\""}));
    return chance(8) ? pick({"null", "\"user\"", "[]", "[{\"role\":\"user\"}]"}) : object(fields);
}

QByteArray RandomRecord::record() {
    Fields fields{{"uuid", string("0bdd2740-b6f7")}, {"toolUseResult", filler(3)}};
    maybeAdd(fields, 90, "type", usually("user", {"\"assistant\"", "\"User\"", "1", "null", "[\"user\"]"}));
    for (const char* flag : {"isSidechain", "isMeta", "isCompactSummary", "isVisibleInTranscriptOnly"}) {
        maybeAdd(fields, 15, flag, pick({"true", "false", "\"true\"", "1", "null"}));
    }
    maybeAdd(fields, 15, "origin",
             pick({R"({"kind":"human"})", R"({"kind":"peer"})", R"({"kind":1})", "\"peer\""}));
    maybeAdd(fields, 15, "promptSource", usually("system", {"\"typed\"", "\"System\"", "null"}));
    maybeAdd(fields, 50, "userType", usually("external", {"\"human\"", "\"\"", "5", "null"}));
    maybeAdd(fields, 94, "message", message());
    return chance(3) ? '[' + object(fields) + ']' : object(fields);
}

// A record, now and then damaged: cut short, followed by garbage, or with one byte overwritten or
// a NUL put in.
QByteArray RandomRecord::next() {
    m_escapePercent = chance(25) ? 30 : 0;
    QByteArray line = record();
    const int at = m_random.bounded(static_cast<int>(line.size()));
    switch (chance(12) ? m_random.bounded(4) : -1) {
    case 0:
        return line.left(at);
    case 1:
        return line + pick({"x", "}", ",", " 1", QByteArray(1, '\0')});
    case 2:
        line[at] = pick({"\xff", "\xc3", "\x80", "\"", "\x01", "{", "\\"}).at(0);
        return line;
    case 3:
        return line.insert(at, '\0');
    default:
        return line;
    }
}
