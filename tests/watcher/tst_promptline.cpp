#include "RandomRecord.h"
#include "watcher/explain/TranscriptExplanation.h"
#include "watcher/recognizer/LineClassifier.h"
#include "watcher/recognizer/LineRecognizer.h"
#include "watcher/recognizer/PromptPrefilter.h"
#include "watcher/recognizer/PromptRecognizer.h"
#include "watcher/recognizer/PromptScreen.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
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

// The prompt rules written a second way, on Qt's own JSON classes, to check the recogniser against. Empty
// when Qt cannot parse the line at all.
std::optional<bool> oracleIsUserPrompt(const QByteArray& line) {
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(line, &error);
    if (error.error != QJsonParseError::NoError) {
        return std::nullopt;
    }
    const QJsonObject record = document.object();
    const QJsonValue user(u"user"_s);
    const QJsonValue userType = record.value(u"userType"_s);
    const QJsonValue message = record.value(u"message"_s);
    if (!document.isObject() || record.value(u"type"_s) != user ||
        (userType.isString() && userType != QJsonValue(u"external"_s)) || !message.isObject() ||
        message.toObject().value(u"role"_s) != user) {
        return false;
    }
    for (const QString& flag :
         {u"isSidechain"_s, u"isMeta"_s, u"isCompactSummary"_s, u"isVisibleInTranscriptOnly"_s}) {
        if (record.value(flag) == QJsonValue(true)) {
            return false;
        }
    }
    const QJsonValue origin = record.value(u"origin"_s).toObject().value(u"kind"_s);
    if ((origin.isString() && origin != QJsonValue(u"human"_s)) ||
        record.value(u"promptSource"_s) == QJsonValue(u"system"_s)) {
        return false;
    }
    const QJsonValue content = message.toObject().value(u"content"_s);
    const QJsonArray blocks = content.toArray();
    const auto blocksOfType = [&blocks](const QString& type) {
        return std::all_of(blocks.begin(), blocks.end(), [&type](const QJsonValue& block) {
            return block.toObject().value(u"type"_s) == type;
        });
    };
    if (content.isArray() && blocksOfType(u"tool_result"_s)) {
        return false;
    }
    const QString text = content.isArray() && !blocks.isEmpty() && blocksOfType(u"text"_s)
                             ? blocks.first().toObject().value(u"text"_s).toString()
                             : content.toString();
    static const QStringList markers{u"[Request interrupted by user"_s,
                                     u"<local-command-stdout>"_s,
                                     u"<local-command-stderr>"_s,
                                     u"<bash-stdout>"_s,
                                     u"<bash-stderr>"_s,
                                     u"<task-notification>"_s,
                                     u"This session is being continued from a previous conversation"_s};
    return text != u"(no content)"_s &&
           std::none_of(markers.begin(), markers.end(),
                        [&text](const QString& m) { return text.startsWith(m); });
}

bool isUserPrompt(std::string_view line) {
    static PromptRecognizer recognizer;
    return recognizer.isUserPrompt(line).has_value();
}

// The path that misjudges the line, if any. The recogniser, classifyLine and the On-Demand screen on its own
// (which decides every line that parses) must each get it right, or a fault in one would hide behind another.
QByteArray misjudgedBy(const QByteArray& line, bool prompt) {
    static simdjson::ondemand::parser screen;
    const LineVerdict verdict = classifyLine(view(line)).verdict;
    if (isUserPrompt(view(line)) != prompt) {
        return "the recogniser";
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

// Checks every non-blank line that Qt's and simdjson's parsers agree on against the oracle, and counts the
// verdicts of those lines.
QMap<LineVerdict, int> compareWithOracle(const QByteArrayList& lines) {
    QMap<LineVerdict, int> verdicts;
    for (const QByteArray& untrimmed : lines) {
        const QByteArray line = untrimmed.trimmed();
        const std::optional<bool> oracle = oracleIsUserPrompt(line);
        const LineVerdict verdict = classifyLine(view(line)).verdict;
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
    void agreesWithOracle();
    void explainsTranscript();
    void explainsCopiesAcrossFolders();
    void otherAssistantsRecords_data();
    void otherAssistantsRecords();
};

void TestPromptLine::classifiesLines_data() {
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<LineVerdict>("verdict");
    using enum LineVerdict;

    // Reasons no row below names; the generated records cover the variations of each rule.
    QTest::addRow("typed text") << prompt("") << Prompt;
    QTest::addRow("message absent") << R"({"type":"user"})"_ba << NoMessage;
    QTest::addRow("content empty list") << withContent("[]") << ToolResult;
    QTest::addRow("top-level list") << '[' + prompt("") + ']' << NotObject;
    // The first rule a record fails names the reason, whatever the order of its fields.
    QTest::addRow("UTF-8 before JSON") << QByteArray("{\"type\":\"\xff") << InvalidUtf8;
    QTest::addRow("type before sidechain")
        << R"({"isSidechain":true,"type":"assistant"})"_ba << NotUserRecord;
    QTest::addRow("sidechain before meta") << prompt(R"("isMeta":true,"isSidechain":true,)") << Sidechain;
    QTest::addRow("summary before user type")
        << R"({"userType":"human","isCompactSummary":true,"type":"user"})"_ba << AssistantRecord;
    QTest::addRow("user type before message")
        << R"({"message":1,"type":"user","userType":""})"_ba << OtherUserType;
    QTest::addRow("role before content") << withMessage(R"({"content":[],"role":"x"})") << NotUserRole;
    QTest::addRow("source before marker")
        << R"x({"promptSource":"system","type":"user","message":{"role":"user","content":"(no content)"}})x"_ba
        << OtherAgent;
    // What the assistant writes in the user's name; a person's text may still mention it.
    QTest::addRow("human origin, typed")
        << prompt(R"("origin":{"kind":"human"},"promptSource":"typed",)") << Prompt;
    QTest::addRow("escaped marker") << withContent(R"("<task-notification>done")") << TaskNotice;
    QTest::addRow("marker in the only text block")
        << withContent(R"([{"type":"text","text":"<local-command-stdout>ok"}])") << CommandOutput;
    QTest::addRow("marker beside an image")
        << withContent(R"([{"type":"text","text":"<bash-stdout>"},{"type":"image"}])") << Prompt;
    QTest::addRow("marker after a space") << withContent(R"(" [Request interrupted by user]")") << Prompt;
    QTest::addRow("placeholder and more") << withContent(R"("(no content) yet")") << Prompt;
    // Of duplicated keys the first counts; the generator writes none.
    QTest::addRow("type x, user") << R"({"type":"x","type":"user","message":{"role":"user"}})"_ba
                                  << NotUserRecord;
    QTest::addRow("sidechain false, true") << prompt(R"("isSidechain":false,"isSidechain":true,)") << Prompt;
    QTest::addRow("overlong UTF-8") << withContent("\"\xc0\xaf\"") << InvalidUtf8;
    QTest::addRow("escaped lone surrogate") << withContent(R"("\ud800")") << InvalidJson;
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
    QCOMPARE(reasonText(classifyLine(view(line)).verdict), reasonText(verdict));
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
    QTest::addRow("no opening quote") << R"(user")"_ba << false;
}

// The prefilter scans in blocks; a needle must be found at every offset, across block edges and in the tail,
// and near misses nowhere.
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

// The sample transcripts, when present, go through the same comparison.
void TestPromptLine::agreesWithOracle() {
    RandomRecord records(20240601);
    QByteArrayList lines;
    for (int i = 0; i < 5000; ++i) {
        lines += records.next();
    }
    const QDir folder(qEnvironmentVariable("ZENTREL_SOURCE_DIR") + u"/../shared/acceptance/transcripts"_s);
    for (const QFileInfo& transcript : folder.entryInfoList({u"*.jsonl"_s}, QDir::Files)) {
        QFile file(transcript.filePath());
        QVERIFY(file.open(QIODevice::ReadOnly));
        lines += file.readAll().split('\n');
    }
    const QMap<LineVerdict, int> verdicts = compareWithOracle(lines);
    // The generator must keep the comparison meaningful: nearly every line comparable, and every verdict well
    // represented.
    QCOMPARE_GT(std::accumulate(verdicts.begin(), verdicts.end(), 0), lines.size() * 95 / 100);
    QCOMPARE(verdicts.size(), 15); // every verdict but Copy, which no single line earns
    QCOMPARE_GT(*std::min_element(verdicts.begin(), verdicts.end()), 5000 / 200);
}

// A transcript read from its first byte as the watcher reads a new one: line numbers count blank lines and a
// carriage return ends no line, white space around a record is trimmed, bad bytes spoil only their own line,
// and a last line that is not yet complete is left out.
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
    const auto explanations = explainTranscripts({file.fileName().toStdString()}, true);
    QCOMPARE(explanations.size(), 1u);
    const TranscriptExplanation& explanation = explanations.front();
    QCOMPARE(explanation.prompts, 2);
    const std::map<LineVerdict, std::int64_t> ignored{
        {Sidechain, 1}, {ToolResult, 2}, {InvalidUtf8, 1}, {NotUserRecord, 1}, {InvalidJson, 1}};
    QCOMPARE(explanation.ignored, ignored);
    const std::vector<std::pair<std::int64_t, LineVerdict>> numbered{
        {1, Prompt},        {3, Sidechain},   {4, ToolResult}, {5, InvalidUtf8},
        {6, NotUserRecord}, {7, InvalidJson}, {8, Prompt},     {9, ToolResult}};
    QCOMPARE(explanation.lines, numbered);
}

// A folder is explained whole, in the order its conversations were written, whatever their names: the
// resume, which starts with the same record, repeats the conversation and writes one message twice.
void TestPromptLine::explainsCopiesAcrossFolders() {
    const auto record = [](int uuid, const char* session, int second) {
        return QString::fromLatin1(R"({"type":"user","uuid":"00000000-0000-4000-8000-00000000000%1",)"
                                   R"("sessionId":"%2","timestamp":"2025-06-01T10:00:0%3.000Z",)"
                                   R"("message":{"role":"user","content":"go"}})")
                   .arg(uuid)
                   .arg(QLatin1String(session))
                   .arg(second)
                   .toLatin1() +
               '\n';
    };
    QTemporaryDir folder;
    const QString original = folder.filePath(u"z/original.jsonl"_s);
    const QString resumed = folder.filePath(u"a/resumed.jsonl"_s);
    const QString missing = folder.filePath(u"missing.jsonl"_s);
    QVERIFY(QDir(folder.path()).mkpath(u"z"_s) && QDir(folder.path()).mkpath(u"a"_s));
    for (const auto& [path, text] :
         {std::pair{original, record(1, "s1", 1) + record(2, "s1", 2)},
          {resumed, record(1, "s2", 1) + record(2, "s2", 5) + record(3, "s2", 6) + record(4, "s2", 6)}}) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(text) == text.size());
        file.close();
        QTest::qWait(10); // distinct modification times
    }
    const auto explanations = explainTranscripts({missing.toStdString(), folder.path().toStdString()}, false);
    QCOMPARE(explanations.size(), 3u);
    QCOMPARE(explanations[0].path, original.toStdString());
    QCOMPARE(explanations[0].prompts, 2);
    QCOMPARE(explanations[1].prompts, 1);
    QCOMPARE(explanations[1].ignored, (std::map<LineVerdict, std::int64_t>{{LineVerdict::Copy, 3}}));
    QCOMPARE(explanations[2].error, ENOENT);
}

// One table per assistant; each row gives the first record's verdict and how many prompts the line holds.
void TestPromptLine::otherAssistantsRecords_data() {
    QTest::addColumn<Assistant>("assistant");
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<LineVerdict>("verdict");
    QTest::addColumn<int>("prompts");
    using enum LineVerdict;

    const auto codex = [](const char* name, const QByteArray& line, LineVerdict verdict) {
        QTest::addRow("codex: %s", name) << Assistant::Codex << line << verdict << int(verdict == Prompt);
    };
    codex("typed", R"({"session_id":"s","ts":1766670332,"text":"fix the build"})", Prompt);
    codex("empty text is still submitted text", R"({"session_id":"s","ts":1,"text":""})", Prompt);
    codex("text not a string", R"({"session_id":"s","ts":1,"text":["fix"]})", NoMessage);

    const auto copilot = [](const char* name, const QByteArray& data, LineVerdict verdict) {
        QTest::addRow("copilot: %s", name)
            << Assistant::Copilot << R"({"type":"user.message","data":)" + data + R"(,"id":"e1"})" << verdict
            << int(verdict == Prompt);
    };
    copilot("typed", R"({"content":"fix","transformedContent":"<current_datetime>x</current_datetime>"})",
            Prompt);
    copilot("autopilot nudge", R"({"content":"","transformedContent":"You have not finished"})", Nudge);
    copilot("only transformed content", R"({"transformedContent":"fix"})", NoMessage);
    QTest::addRow("copilot: the assistant's message")
        << Assistant::Copilot << R"({"type":"assistant.message","data":{"content":"done"}})"_ba
        << NotUserRecord << 0;

    const auto qwen = [](const char* name, const char* type, const char* provenance, LineVerdict verdict) {
        QTest::addRow("qwen: %s", name)
            << Assistant::Qwen
            << QByteArray(R"({"type":")") + type + R"(","provenance":")" + provenance +
                   R"(","message":{"role":"user","parts":[{"text":"fix"}]}})"
            << verdict << int(verdict == Prompt);
    };
    qwen("typed", "user", "real_user", Prompt);
    qwen("tool result", "tool_result", "tool_result", ToolResult);
    qwen("another origin", "user", "cron", OtherAgent);
    qwen("system record", "system", "system", NotUserRecord);

    const auto gemini = [](const char* name, const QByteArray& content, LineVerdict verdict) {
        QTest::addRow("gemini: %s", name)
            << Assistant::Gemini << R"({"id":"m1","timestamp":"t","type":"user","content":)" + content + '}'
            << verdict << int(verdict == Prompt);
    };
    gemini("typed parts", R"([{"text":"fix the build"},{"text":"@file contents"}])", Prompt);
    gemini("typed string", R"("fix the build")", Prompt);
    gemini("nudge", R"([{"text":"System: Please continue."}])", Nudge);
    gemini("short nudge", R"("Please continue.")", Nudge);
    gemini("nudge and more", R"("Please continue. With the tests")", Prompt);
    gemini("function response", R"([{"text":"x"},{"functionResponse":{"id":"f"}}])", ToolResult);
    gemini("function response text", R"("[Function Response: read_file]")", ToolResult);
    gemini("session context", R"([{"text":"<session_context>cwd</session_context>"}])", AssistantRecord);
    gemini("hook context", R"("<hook_context>x")", AssistantRecord);
    gemini("image only", R"([{"inlineData":{}}])", NoMessage);
    QTest::addRow("gemini: no id") << Assistant::Gemini << R"({"type":"user","content":"fix"})"_ba << NoId
                                   << 0;
    QTest::addRow("gemini: metadata")
        << Assistant::Gemini << R"({"sessionId":"s","projectHash":"h","kind":"main"})"_ba << NotUserRecord
        << 0;
    QTest::addRow("gemini: sub-agent metadata")
        << Assistant::Gemini << R"({"sessionId":"s","projectHash":"h","kind":"subagent"})"_ba << Sidechain
        << 0;
    QTest::addRow("gemini: list written again")
        << Assistant::Gemini
        << R"({"$set":{"messages":[{"id":"a","type":"user","content":"go"},{"id":"b","type":"gemini"},)"
           R"({"id":"c","type":"user","content":"on"}]}})"_ba
        << Prompt << 2;
    QTest::addRow("gemini: metadata update")
        << Assistant::Gemini << R"({"$set":{"lastUpdated":"t"}})"_ba << NotUserRecord << 0;
}

// classifyRecords (for explain) and the watcher's recogniser must agree on every row.
void TestPromptLine::otherAssistantsRecords() {
    QFETCH(Assistant, assistant);
    QFETCH(QByteArray, line);
    QFETCH(LineVerdict, verdict);
    QFETCH(int, prompts);
    QList<LineVerdict> verdicts;
    const bool uncounted =
        classifyRecords(view(line), assistant,
                        [&verdicts](LineVerdict found, const PromptIdentity&) { verdicts.append(found); });
    QVERIFY(!verdicts.isEmpty());
    QCOMPARE(reasonText(verdicts.first()), reasonText(verdict));
    QCOMPARE(verdicts.count(LineVerdict::Prompt), prompts);
    static LineRecognizer recognizer;
    const LinePrompts found = recognizer.recognize(view(line), assistant);
    QCOMPARE(found.prompts.size(), std::size_t(prompts));
    QCOMPARE(found.uncountedFile, uncounted);
    QCOMPARE(uncounted, verdict == LineVerdict::Sidechain);
}

QTEST_GUILESS_MAIN(TestPromptLine)
#include "tst_promptline.moc"
