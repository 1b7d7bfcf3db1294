#include "LineVerdict.h"
#include "PromptLine.h"
#include "PromptOracle.h"
#include "PromptPrefilter.h"
#include "PromptScreen.h"
#include "RandomRecord.h"
#include "TranscriptExplanation.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <numeric>
#include <simdjson.h>

using namespace Qt::StringLiterals;

namespace {

std::string_view view(const QByteArray& line) {
    return {line.constData(), static_cast<std::size_t>(line.size())};
}

bool parses(LineVerdict verdict) {
    return verdict != LineVerdict::InvalidUtf8 && verdict != LineVerdict::InvalidJson;
}

// The path that misjudges the line, if any. isUserPrompt, classifyLine and the On-Demand screen on
// its own (which decides every line that parses) must each get it right, or a fault in one would
// hide behind another.
QByteArray misjudgedBy(const QByteArray& line, bool prompt) {
    static simdjson::ondemand::parser screen;
    const LineVerdict verdict = classifyLine(view(line));
    if (isUserPrompt(view(line)) != prompt) {
        return "isUserPrompt";
    }
    if ((verdict == LineVerdict::Prompt) != prompt) {
        return "classifyLine";
    }
    const simdjson::padded_string padded(view(line));
    if (parses(verdict) && rulesOutPrompt(screen, padded) == prompt) {
        return "the On-Demand screen";
    }
    return {};
}

// Checks every non-blank line that Qt's and simdjson's parsers agree on against the oracle, and
// counts the verdicts of those lines.
QMap<LineVerdict, int> compareWithOracle(const QByteArrayList& lines) {
    QMap<LineVerdict, int> verdicts;
    for (const QByteArray& untrimmed : lines) {
        const QByteArray line = untrimmed.trimmed();
        const std::optional<bool> oracle = oracleIsUserPrompt(line);
        const LineVerdict verdict = classifyLine(view(line));
        if (line.isEmpty() || oracle.has_value() != parses(verdict)) {
            continue;
        }
        ++verdicts[verdict];
        const QByteArray path = misjudgedBy(line, oracle.value_or(false));
        if (!path.isEmpty()) {
            qWarning("%s misjudges %s", path.constData(), line.toPercentEncoding(" {}[]:,\"\\").constData());
            return {};
        }
    }
    return verdicts;
}

QByteArray prompt(const QByteArray& extraFields) {
    return R"({"type":"user",)" + extraFields + R"("message":{"role":"user","content":"fix the build"}})";
}

QByteArray withMessage(const QByteArray& message) {
    return R"({"type":"user","message":)" + message + "}";
}

QByteArray withContent(const QByteArray& content) {
    return withMessage(R"({"role":"user","content":)" + content + "}");
}

// Stands for 50 MB of text in the table below, which holds every row in memory at once.
const QByteArray hugeText = "<50 MB of text>";

const QByteArray toolResult = R"({"type":"tool_result","content":"ok"})";
const QByteArray textBlock = R"({"type":"text","text":"and run the tests"})";

} // namespace

class TestPromptLine : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void classifiesLines_data();
    void classifiesLines();
    void keepsConsecutiveLinesApart();
    void prefilterFindsNeedlesAnywhere_data();
    void prefilterFindsNeedlesAnywhere();
    void agreesWithOracleOnGeneratedRecords();
    void agreesWithOracleOnSampleTranscripts();
    void explainsTranscript();
};

void TestPromptLine::classifiesLines_data() {
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<LineVerdict>("verdict");
    using enum LineVerdict;

    QTest::addRow("typed text") << prompt("") << Prompt;
    QTest::addRow("type absent") << R"({"message":{"role":"user"}})"_ba << NotUserRecord;
    QTest::addRow("type User") << R"({"type":"User","message":{"role":"user"}})"_ba << NotUserRecord;
    QTest::addRow("type list") << R"({"type":["user"],"message":{"role":"user"}})"_ba << NotUserRecord;
    QTest::addRow("type escaped") << R"({"type":"\u0075ser","message":{"role":"user"}})"_ba << Prompt;
    QTest::addRow("key escaped") << R"({"\u0074ype":"user","message":{"role":"user"}})"_ba << Prompt;
    QTest::addRow("type last") << R"({"message":{"role":"user"},"type":"user"})"_ba << Prompt;
    QTest::addRow("sidechain true") << prompt(R"("isSidechain":true,)") << Sidechain;
    QTest::addRow("sidechain false") << prompt(R"("isSidechain":false,)") << Prompt;
    QTest::addRow("sidechain text") << prompt(R"("isSidechain":"true",)") << Prompt;
    QTest::addRow("sidechain last") << R"({"type":"user","message":{"role":"user"},"isSidechain":true})"_ba
                                    << Sidechain;
    QTest::addRow("meta") << prompt(R"("isMeta":true,)") << AssistantRecord;
    QTest::addRow("compact summary") << prompt(R"("isCompactSummary":true,)") << AssistantRecord;
    QTest::addRow("external") << prompt(R"("userType":"external",)") << Prompt;
    QTest::addRow("human") << prompt(R"("userType":"human",)") << OtherUserType;
    QTest::addRow("user type number") << prompt(R"("userType":5,)") << Prompt;
    QTest::addRow("message absent") << R"({"type":"user"})"_ba << NoMessage;
    QTest::addRow("message list") << withMessage(R"([{"role":"user"}])") << NoMessage;
    QTest::addRow("role assistant") << withMessage(R"({"role":"assistant","content":"hi"})") << NotUserRole;
    QTest::addRow("role absent") << withMessage(R"({"content":"hi"})") << NotUserRole;
    QTest::addRow("content before role") << withMessage(R"({"content":"hi","role":"user"})") << Prompt;
    QTest::addRow("content absent") << withMessage(R"({"role":"user"})") << Prompt;
    QTest::addRow("content object") << withContent(toolResult) << Prompt;
    QTest::addRow("content empty list") << withContent("[]") << ToolResult;
    QTest::addRow("two tool results") << withContent('[' + toolResult + ',' + toolResult + ']') << ToolResult;
    QTest::addRow("tool result, text") << withContent('[' + toolResult + ',' + textBlock + ']') << Prompt;
    QTest::addRow("text, tool result") << withContent('[' + textBlock + ',' + toolResult + ']') << Prompt;
    QTest::addRow("tool result, string") << withContent('[' + toolResult + R"(,"x"])") << Prompt;
    QTest::addRow("block without type") << withContent(R"([{"text":"hi"}])") << Prompt;
    QTest::addRow("block type escaped") << withContent(R"([{"type":"\u0074ool_result"}])") << ToolResult;
    // The first rule a record fails names the reason, whatever the order of its fields.
    QTest::addRow("type before sidechain")
        << R"({"isSidechain":true,"type":"assistant"})"_ba << NotUserRecord;
    QTest::addRow("sidechain before meta") << prompt(R"("isMeta":true,"isSidechain":true,)") << Sidechain;
    QTest::addRow("summary before user type")
        << R"({"userType":"human","isCompactSummary":true,"type":"user"})"_ba << AssistantRecord;
    QTest::addRow("user type before message")
        << R"({"message":1,"type":"user","userType":""})"_ba << OtherUserType;
    QTest::addRow("role before content") << withMessage(R"({"content":[],"role":"x"})") << NotUserRole;
    // Of duplicated keys the first counts.
    QTest::addRow("type user, x") << R"({"type":"user","type":"x","message":{"role":"user"}})"_ba << Prompt;
    QTest::addRow("type x, user") << R"({"type":"x","type":"user","message":{"role":"user"}})"_ba
                                  << NotUserRecord;
    QTest::addRow("type spelled twice")
        << R"({"type":"user","\u0074ype":"x","message":{"role":"user"}})"_ba << Prompt;
    QTest::addRow("sidechain false, true") << prompt(R"("isSidechain":false,"isSidechain":true,)") << Prompt;
    QTest::addRow("message twice") << R"({"type":"user","message":{"role":"x"},"message":{"role":"user"}})"_ba
                                   << NotUserRole;
    QTest::addRow("content twice") << withMessage(R"({"role":"user","content":[],"content":"hi"})")
                                   << ToolResult;
    QTest::addRow("block type twice")
        << withContent(R"([{"type":"tool_result","type":"text"}])") << ToolResult;
    QTest::addRow("empty") << QByteArray() << InvalidJson;
    QTest::addRow("top-level list") << '[' + prompt("") + ']' << NotObject;
    QTest::addRow("half a record") << prompt("").left(40) << InvalidJson;
    QTest::addRow("trailing garbage") << prompt("") + " x" << InvalidJson;
    QTest::addRow("non-ASCII text") << withContent("\"gr\xc3\xbc\xc3\x9f \xe6\x97\xa5 \xf0\x9f\x98\x80\"")
                                    << Prompt;
    QTest::addRow("invalid UTF-8") << withContent("\"gr\xfc\xdf\"") << InvalidUtf8;
    QTest::addRow("invalid UTF-8, half a record") << QByteArray("{\"type\":\"\xff") << InvalidUtf8;
    QTest::addRow("overlong UTF-8") << withContent("\"\xc0\xaf\"") << InvalidUtf8;
    QTest::addRow("UTF-8 surrogate") << withContent("\"\xed\xa0\x80\"") << InvalidUtf8;
    QTest::addRow("escaped lone surrogate") << withContent(R"("\ud800")") << InvalidJson;
    QTest::addRow("raw NUL in text") << withContent(QByteArray("\"a\0b\"", 5)) << InvalidJson;
    QTest::addRow("NUL after record") << prompt("") + QByteArray(1, '\0') << InvalidJson;
    QTest::addRow("depth 1000") << prompt(R"("x":)" + QByteArray(1000, '[').append(1000, ']') + ',')
                                << Prompt;
    QTest::addRow("depth 3000") << prompt(R"("x":)" + QByteArray(3000, '[').append(3000, ']') + ',')
                                << InvalidJson;
    QTest::addRow("50 MB prompt") << withContent('"' + hugeText + '"') << Prompt;
    QTest::addRow("50 MB tool result")
        << withContent(R"([{"type":"tool_result","content":")" + hugeText + "\"}]") << ToolResult;
}

void TestPromptLine::classifiesLines() {
    QFETCH(QByteArray, line);
    QFETCH(LineVerdict, verdict);
    if (line.contains(hugeText)) {
        line.replace(hugeText, QByteArray(50 << 20, 'x'));
    }
    QCOMPARE(reasonText(classifyLine(view(line))), reasonText(verdict));
    QCOMPARE(misjudgedBy(line, verdict == LineVerdict::Prompt), QByteArray());
}

// The recogniser reuses its buffer: a line must never see bytes left over from a longer one.
void TestPromptLine::keepsConsecutiveLinesApart() {
    const QByteArray full = withContent('"' + QByteArray(300, 'p') + '"');
    for (qsizetype cut = 1; cut < full.size(); cut += 7) {
        QVERIFY(isUserPrompt(view(full)));
        QVERIFY2(!isUserPrompt(view(full.left(cut))), full.left(cut).constData());
    }
}

void TestPromptLine::prefilterFindsNeedlesAnywhere_data() {
    QTest::addColumn<QByteArray>("needle");
    QTest::addColumn<bool>("found");
    QTest::addRow("quoted user") << R"("user")"_ba << true;
    QTest::addRow("escape") << R"(\u)"_ba << true;
    QTest::addRow("User") << R"("User")"_ba << false;
    QTest::addRow("users") << R"("users")"_ba << false;
    QTest::addRow("no opening quote") << R"(user")"_ba << false;
    QTest::addRow("u before backslash") << R"(u\)"_ba << false;
}

// The prefilter scans in blocks; a needle must be found at every offset, across block edges and
// in the tail, and near misses nowhere.
void TestPromptLine::prefilterFindsNeedlesAnywhere() {
    QFETCH(QByteArray, needle);
    QFETCH(bool, found);
    for (int length = 0; length < 80; ++length) {
        const QByteArray line = QByteArray("ax:{1 ]_").repeated(10).left(length);
        for (int at = 0; at <= length; ++at) {
            const QByteArray candidate = QByteArray(line).insert(at, needle);
            QVERIFY2(mayBeUserPrompt(view(candidate)) == found, candidate.constData());
        }
    }
}

void TestPromptLine::agreesWithOracleOnGeneratedRecords() {
    RandomRecord records(20240601);
    QByteArrayList lines;
    for (int i = 0; i < 5000; ++i) {
        lines += records.next();
    }
    const QMap<LineVerdict, int> verdicts = compareWithOracle(lines);
    // The generator must keep the comparison meaningful: nearly every line comparable, and every
    // verdict well represented.
    QCOMPARE_GT(std::accumulate(verdicts.begin(), verdicts.end(), 0), lines.size() * 95 / 100);
    QCOMPARE(verdicts.size(), 11);
    QCOMPARE_GT(*std::min_element(verdicts.begin(), verdicts.end()), lines.size() / 200);
}

void TestPromptLine::agreesWithOracleOnSampleTranscripts() {
    const QDir folder(qEnvironmentVariable("ZENTREL_SOURCE_DIR") + u"/../shared/acceptance/transcripts"_s);
    QByteArrayList lines;
    for (const QFileInfo& transcript : folder.entryInfoList({u"*.jsonl"_s}, QDir::Files)) {
        QFile file(transcript.filePath());
        QVERIFY(file.open(QIODevice::ReadOnly));
        lines += file.readAll().split('\n');
    }
    if (lines.isEmpty()) {
        QSKIP("sample transcripts not present");
    }
    QCOMPARE_GT(compareWithOracle(lines).value(LineVerdict::Prompt), 0);
}

// A transcript read from its first byte as the watcher reads a new one: line numbers count blank
// lines and a carriage return ends no line, white space around a record is trimmed, bad bytes spoil
// only their own line, and a last line that is not yet complete is left out.
void TestPromptLine::explainsTranscript() {
    using enum LineVerdict;
    const QByteArrayList lines{
        prompt(""),
        "",
        " \t" + prompt(R"("isSidechain":true,)") + "\r",
        withContent('[' + toolResult + ']'),
        withContent("\"\xff\""),
        R"({"type":"assistant"})",
        prompt("") + "\r" + prompt(""),
        "\xc2\xa0" + withContent(R"("\u00fc")") + "\xe3\x80\x80",
        withContent('[' + toolResult + ']'),
        prompt("").chopped(1),
    };
    QTemporaryDir folder;
    QFile file(folder.filePath(u"t.jsonl"_s));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(lines.join('\n')) > 0);
    file.close();
    const std::string path = file.fileName().toStdString();
    const TranscriptExplanation explanation = explainTranscript(path, true);
    QVERIFY(explanation.readable);
    QCOMPARE(explanation.prompts, 2);
    const std::map<LineVerdict, std::int64_t> ignored{
        {Sidechain, 1}, {ToolResult, 2}, {InvalidUtf8, 1}, {NotUserRecord, 1}, {InvalidJson, 1}};
    QCOMPARE(explanation.ignored, ignored);
    const std::vector<std::pair<std::int64_t, LineVerdict>> numbered{
        {1, Prompt},        {3, Sidechain},   {4, ToolResult}, {5, InvalidUtf8},
        {6, NotUserRecord}, {7, InvalidJson}, {8, Prompt},     {9, ToolResult}};
    QCOMPARE(explanation.lines, numbered);
    QVERIFY(explainTranscript(path, false).lines.empty());
    QVERIFY(!explainTranscript(folder.path().toStdString(), false).readable);
}

QTEST_GUILESS_MAIN(TestPromptLine)
#include "tst_promptline.moc"
