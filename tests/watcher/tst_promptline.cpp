#include "PromptLine.h"
#include "PromptOracle.h"
#include "PromptPrefilter.h"
#include "PromptRules.h"
#include "PromptScreen.h"
#include "RandomRecord.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <simdjson.h>

using namespace Qt::StringLiterals;

namespace {

bool recognises(const QByteArray& line) {
    return isUserPrompt(std::string_view(line.constData(), line.size()));
}

simdjson::padded_string padded(const QByteArray& line) {
    return simdjson::padded_string(line.constData(), static_cast<std::size_t>(line.size()));
}

// Parsers kept across lines, as the recogniser keeps its own.
simdjson::dom::parser& validator() {
    static simdjson::dom::parser parser;
    return parser;
}

simdjson::ondemand::parser& screen() {
    static simdjson::ondemand::parser parser;
    return parser;
}

bool simdjsonAccepts(const QByteArray& line) {
    return validator().parse(padded(line)).error() == simdjson::SUCCESS;
}

// What the recogniser must answer, when both JSON parsers agree on whether the line parses.
std::optional<bool> expectedVerdict(const QByteArray& line) {
    const std::optional<bool> oracle = oracleIsUserPrompt(line);
    if (oracle.has_value() != simdjsonAccepts(line)) {
        return std::nullopt;
    }
    return oracle.value_or(false);
}

// Each stage of the recogniser must give the expected answer on its own, or a fault in one
// stage would hide behind another: the DOM rules alone, and on a valid line the On-Demand
// screen alone (which reads valid JSON to the end and so decides every such line).
QByteArray disagreement(const QByteArray& line, bool expected) {
    if (recognises(line) != expected) {
        return "isUserPrompt";
    }
    const simdjson::padded_string bytes = padded(line);
    simdjson::dom::element record;
    const bool valid = validator().parse(bytes).get(record) == simdjson::SUCCESS;
    if ((valid && isPromptRecord(record)) != expected) {
        return "the DOM rules";
    }
    if (valid && rulesOutPrompt(screen(), bytes) == expected) {
        return "the On-Demand screen";
    }
    return {};
}

QByteArray nested(int depth, const QByteArray& inner) {
    return QByteArray(depth, '[') + inner + QByteArray(depth, ']');
}

QByteArray prompt(const QByteArray& extraFields) {
    return R"({"type":"user",)" + extraFields + R"("message":{"role":"user","content":"fix the build"}})";
}

QByteArray withContent(const QByteArray& content) {
    return R"({"type":"user","message":{"role":"user","content":)" + content + "}}";
}

QByteArray withMessage(const QByteArray& message) {
    return R"({"type":"user","message":)" + message + "}";
}

// Stands for 50 MB of text in the table below, which holds every row in memory at once.
const QByteArray hugeText = "<50 MB of text>";

const QByteArray toolResult = R"({"type":"tool_result","tool_use_id":"toolu_1","content":"ok"})";
const QByteArray textBlock = R"({"type":"text","text":"and run the tests"})";

} // namespace

class TestPromptLine : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void recognisesPrompts_data();
    void recognisesPrompts();
    void keepsConsecutiveLinesApart();
    void prefilterFindsNeedlesAnywhere_data();
    void prefilterFindsNeedlesAnywhere();
    void agreesWithOracleOnGeneratedRecords();
    void agreesWithOracleOnSampleTranscripts();
};

void TestPromptLine::recognisesPrompts_data() {
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<bool>("expected");

    // type (rule 3)
    QTest::addRow("typed text") << prompt("") << true;
    QTest::addRow("type absent") << R"({"message":{"role":"user","content":"hi"}})"_ba << false;
    QTest::addRow("type User") << R"({"type":"User","message":{"role":"user","content":"hi"}})"_ba << false;
    QTest::addRow("type assistant") << R"({"type":"assistant","message":{"role":"user"}})"_ba << false;
    QTest::addRow("type number") << R"({"type":1,"message":{"role":"user"}})"_ba << false;
    QTest::addRow("type list") << R"({"type":["user"],"message":{"role":"user"}})"_ba << false;
    QTest::addRow("type escaped") << R"({"type":"\u0075ser","message":{"role":"user"}})"_ba << true;
    QTest::addRow("every user escaped")
        << R"({"type":"\u0075ser","message":{"role":"use\u0072"}})"_ba << true;
    QTest::addRow("key escaped") << R"({"\u0074ype":"user","message":{"role":"user"}})"_ba << true;
    QTest::addRow("type last") << R"({"message":{"role":"user","content":"hi"},"type":"user"})"_ba << true;
    // isSidechain (rule 4)
    QTest::addRow("sidechain true") << prompt(R"("isSidechain":true,)") << false;
    QTest::addRow("sidechain false") << prompt(R"("isSidechain":false,)") << true;
    QTest::addRow("sidechain text") << prompt(R"("isSidechain":"true",)") << true;
    QTest::addRow("sidechain one") << prompt(R"("isSidechain":1,)") << true;
    QTest::addRow("sidechain null") << prompt(R"("isSidechain":null,)") << true;
    QTest::addRow("sidechain after message")
        << R"({"type":"user","message":{"role":"user"},"isSidechain":true})"_ba << false;
    // records the assistant writes as the user
    QTest::addRow("meta true") << prompt(R"("isMeta":true,)") << false;
    QTest::addRow("meta false") << prompt(R"("isMeta":false,)") << true;
    QTest::addRow("meta text") << prompt(R"("isMeta":"true",)") << true;
    QTest::addRow("meta one") << prompt(R"("isMeta":1,)") << true;
    QTest::addRow("compact summary true") << prompt(R"("isCompactSummary":true,)") << false;
    QTest::addRow("compact summary false") << prompt(R"("isCompactSummary":false,)") << true;
    QTest::addRow("compact summary null") << prompt(R"("isCompactSummary":null,)") << true;
    // userType (rule 5)
    QTest::addRow("external") << prompt(R"("userType":"external",)") << true;
    QTest::addRow("human") << prompt(R"("userType":"human",)") << false;
    QTest::addRow("External") << prompt(R"("userType":"External",)") << false;
    QTest::addRow("user type empty") << prompt(R"("userType":"",)") << false;
    QTest::addRow("user type number") << prompt(R"("userType":5,)") << true;
    QTest::addRow("user type null") << prompt(R"("userType":null,)") << true;
    // message (rule 6)
    QTest::addRow("message absent") << R"({"type":"user"})"_ba << false;
    QTest::addRow("message null") << withMessage("null") << false;
    QTest::addRow("message text") << withMessage(R"("hi")") << false;
    QTest::addRow("message list") << withMessage(R"([{"role":"user"}])") << false;
    // role (rule 7)
    QTest::addRow("role assistant") << withMessage(R"({"role":"assistant","content":"hi"})") << false;
    QTest::addRow("role User") << withMessage(R"({"role":"User","content":"hi"})") << false;
    QTest::addRow("role absent") << withMessage(R"({"content":"hi"})") << false;
    QTest::addRow("role number") << withMessage(R"({"role":1})") << false;
    QTest::addRow("content before role") << withMessage(R"({"content":"hi","role":"user"})") << true;
    // content (rule 8)
    QTest::addRow("content absent") << withMessage(R"({"role":"user"})") << true;
    QTest::addRow("content null") << withContent("null") << true;
    QTest::addRow("content empty text") << withContent(R"("")") << true;
    QTest::addRow("content number") << withContent("42") << true;
    QTest::addRow("content object") << withContent(toolResult) << true;
    QTest::addRow("content empty list") << withContent("[]") << false;
    QTest::addRow("one text block") << withContent('[' + textBlock + ']') << true;
    QTest::addRow("one tool result") << withContent('[' + toolResult + ']') << false;
    QTest::addRow("two tool results") << withContent('[' + toolResult + ',' + toolResult + ']') << false;
    QTest::addRow("tool result then text") << withContent('[' + toolResult + ',' + textBlock + ']') << true;
    QTest::addRow("text then tool result") << withContent('[' + textBlock + ',' + toolResult + ']') << true;
    QTest::addRow("tool result then string") << withContent('[' + toolResult + R"(,"x"])") << true;
    QTest::addRow("strings only") << withContent(R"(["wow error"])") << true;
    QTest::addRow("nested empty list") << withContent("[[]]") << true;
    QTest::addRow("block without type") << withContent(R"([{"text":"hi"}])") << true;
    QTest::addRow("block type number") << withContent(R"([{"type":7}])") << true;
    QTest::addRow("block type Tool_Result") << withContent(R"([{"type":"Tool_Result"}])") << true;
    QTest::addRow("block type escaped") << withContent(R"([{"type":"\u0074ool_result"}])") << false;
    // duplicated keys: the first one counts
    QTest::addRow("type twice, user first")
        << R"({"type":"user","type":"x","message":{"role":"user"}})"_ba << true;
    QTest::addRow("type twice, user last")
        << R"({"type":"x","type":"user","message":{"role":"user"}})"_ba << false;
    QTest::addRow("spelled type twice")
        << R"({"type":"user","\u0074ype":"x","message":{"role":"user"}})"_ba << true;
    QTest::addRow("sidechain twice") << prompt(R"("isSidechain":false,"isSidechain":true,)") << true;
    QTest::addRow("message twice") << R"({"type":"user","message":{"role":"x"},"message":{"role":"user"}})"_ba
                                   << false;
    QTest::addRow("role twice") << withMessage(R"({"role":"user","role":"x"})") << true;
    QTest::addRow("content twice") << withMessage(R"({"role":"user","content":[],"content":"hi"})") << false;
    QTest::addRow("block type twice") << withContent(R"([{"type":"tool_result","type":"text"}])") << false;
    // not a record
    QTest::addRow("empty") << QByteArray() << false;
    QTest::addRow("top-level list") << '[' + prompt("") + ']' << false;
    QTest::addRow("top-level string") << R"("user")"_ba << false;
    QTest::addRow("top-level number") << "42"_ba << false;
    QTest::addRow("half a record") << prompt("").left(40) << false;
    QTest::addRow("record cut before last brace") << prompt("").chopped(1) << false;
    QTest::addRow("trailing garbage") << prompt("") + " x" << false;
    QTest::addRow("two records") << prompt("") + prompt("") << false;
    QTest::addRow("trailing comma") << prompt("") + ',' << false;
    // bytes
    QTest::addRow("non-ASCII text") << withContent("\"gr\xc3\xbc\xc3\x9f \xe6\x97\xa5 \xf0\x9f\x98\x80\"")
                                    << true;
    QTest::addRow("invalid UTF-8") << withContent("\"gr\xfc\xdf\"") << false;
    QTest::addRow("overlong UTF-8") << withContent("\"\xc0\xaf\"") << false;
    QTest::addRow("UTF-8 surrogate") << withContent("\"\xed\xa0\x80\"") << false;
    QTest::addRow("lone escaped surrogate") << withContent(R"("\ud800")") << false;
    QTest::addRow("escaped NUL") << withContent(R"("a\u0000b")") << true;
    QTest::addRow("raw NUL in text") << withContent(QByteArray("\"a\0b\"", 5)) << false;
    QTest::addRow("NUL after record") << prompt("") + QByteArray(1, '\0') << false;
    QTest::addRow("raw tab in text") << withContent("\"a\tb\"") << false;
    // size and depth
    QTest::addRow("nesting 500") << prompt(R"("extra":)" + nested(500, "1") + ',') << true;
    QTest::addRow("nesting 3000 in a prompt") << prompt(R"("extra":)" + nested(3000, "1") + ',') << false;
    QTest::addRow("nesting 3000") << nested(3000, "") << false;
    QTest::addRow("50 MB prompt") << withContent('"' + hugeText + '"') << true;
    QTest::addRow("50 MB tool result")
        << withContent(R"([{"type":"tool_result","content":")" + hugeText + "\"}]") << false;
    QTest::addRow("50 MB unterminated") << withContent('"' + hugeText) << false;
}

void TestPromptLine::recognisesPrompts() {
    QFETCH(QByteArray, line);
    QFETCH(bool, expected);
    line.replace(hugeText, QByteArray(50 << 20, 'x'));
    QCOMPARE(disagreement(line, expected), QByteArray());
}

// The recogniser reuses its buffer: a line must never see bytes left over from a longer one.
void TestPromptLine::keepsConsecutiveLinesApart() {
    const QByteArray full = withContent('"' + QByteArray(300, 'p') + '"');
    for (qsizetype cut = 1; cut < full.size(); cut += 7) {
        QVERIFY(recognises(full));
        QVERIFY2(!recognises(full.left(cut)), full.left(cut).constData());
    }
}

void TestPromptLine::prefilterFindsNeedlesAnywhere_data() {
    QTest::addColumn<QByteArray>("needle");
    QTest::addColumn<bool>("found");
    QTest::addRow("quoted user") << R"("user")"_ba << true;
    QTest::addRow("escape") << R"(\u)"_ba << true;
    QTest::addRow("escaped u") << R"("\u0075ser")"_ba << true;
    QTest::addRow("escaped backslash and u") << R"(\\u)"_ba << true;
    QTest::addRow("User") << R"("User")"_ba << false;
    QTest::addRow("users") << R"("users")"_ba << false;
    QTest::addRow("no closing quote") << R"("user)"_ba << false;
    QTest::addRow("no opening quote") << R"(user")"_ba << false;
    QTest::addRow("other escape") << R"(\n\"\\)"_ba << false;
    QTest::addRow("u before backslash") << R"(u\)"_ba << false;
}

// The prefilter scans in blocks; a needle must be found at every offset, across block
// edges and in the tail, and near misses nowhere.
void TestPromptLine::prefilterFindsNeedlesAnywhere() {
    QFETCH(QByteArray, needle);
    QFETCH(bool, found);
    static constexpr char filler[] = "ax:{1 ]_";
    for (int length = 0; length < 80; ++length) {
        QByteArray line(length, ' ');
        for (int i = 0; i < length; ++i) {
            line[i] = filler[i % 8];
        }
        for (int at = 0; at <= length; ++at) {
            const QByteArray candidate = QByteArray(line).insert(at, needle);
            QVERIFY2(mayBeUserPrompt(std::string_view(candidate.constData(), candidate.size())) == found,
                     candidate.constData());
        }
    }
}

void TestPromptLine::agreesWithOracleOnGeneratedRecords() {
    RandomRecord records(20240601);
    int compared = 0;
    int prompts = 0;
    int invalid = 0;
    const int total = 5000;
    for (int i = 0; i < total; ++i) {
        const QByteArray line = records.next();
        const std::optional<bool> expected = expectedVerdict(line);
        if (!expected) {
            continue;
        }
        ++compared;
        prompts += *expected ? 1 : 0;
        invalid += oracleIsUserPrompt(line).has_value() ? 0 : 1;
        const QByteArray stage = disagreement(line, *expected);
        QVERIFY2(stage.isEmpty(),
                 (stage + " misjudges " + line.toPercentEncoding(" {}[]:,\"\\")).constData());
    }
    qInfo("compared %d of %d: %d prompts, %d unparseable", compared, total, prompts, invalid);
    // The generator must keep the comparison meaningful: nearly every line comparable, and a
    // fair share of prompts, of records that miss a rule, and of lines that do not parse.
    QCOMPARE_GT(compared, total * 95 / 100);
    QCOMPARE_GT(prompts, compared / 5);
    QCOMPARE_GT(compared - prompts - invalid, compared / 5);
    QCOMPARE_GT(invalid, compared / 50);
}

void TestPromptLine::agreesWithOracleOnSampleTranscripts() {
    const QDir folder(qEnvironmentVariable("ZENTREL_SOURCE_DIR") +
                      QStringLiteral("/../shared/acceptance/transcripts"));
    const QStringList files = folder.entryList({QStringLiteral("*.jsonl")}, QDir::Files);
    if (files.isEmpty()) {
        QSKIP("sample transcripts not present");
    }
    int prompts = 0;
    for (const QString& name : files) {
        QFile file(folder.filePath(name));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = file.readAll().split('\n');
        for (qsizetype i = 0; i < lines.size(); ++i) {
            const QByteArray line = lines.at(i).trimmed();
            const std::optional<bool> expected = line.isEmpty() ? std::nullopt : expectedVerdict(line);
            if (expected) {
                prompts += *expected ? 1 : 0;
                const QByteArray stage = disagreement(line, *expected);
                QVERIFY2(stage.isEmpty(),
                         qPrintable(QStringLiteral("%1:%2 %3").arg(name).arg(i + 1).arg(stage)));
            }
        }
    }
    QVERIFY(prompts > 0);
}

QTEST_GUILESS_MAIN(TestPromptLine)
#include "tst_promptline.moc"
