#include "watcher/FileWatcher.h"
#include "watcher/explain/TranscriptStart.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

// Long enough that only pollNow() polls, unless a test is about the timer.
constexpr std::chrono::hours manualPolling{1};

QByteArray prompt(int number) {
    return R"({"type":"user","userType":"external","isSidechain":false,"uuid":"u-)" +
           QByteArray::number(number) + R"(","message":{"role":"user","content":"prompt number )" +
           QByteArray::number(number) + R"("}})";
}

QByteArray promptWithText(const QByteArray& text) {
    return R"({"type":"user","message":{"role":"user","content":")" + text + R"("}})";
}

const QByteArray assistantRecord =
    R"({"type":"assistant","message":{"role":"assistant","content":[{"type":"text","text":"done"}]}})";

QByteArray joinLines(const QList<QByteArray>& lines) {
    QByteArray text;
    for (const QByteArray& line : lines) {
        text += line + '\n';
    }
    return text;
}

QByteArray prompts(int first, int count) {
    QList<QByteArray> lines;
    for (int number = first; number < first + count; ++number) {
        lines.append(prompt(number));
    }
    return joinLines(lines);
}

bool writeTo(const QString& path, const QByteArray& bytes, QIODevice::OpenMode mode = QIODevice::Append) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly | mode) && file.write(bytes) == bytes.size();
}

bool makeLink(const QString& target, const QString& link) {
    QDir().mkpath(QFileInfo(link).path());
    return ::symlink(QFile::encodeName(target).constData(), QFile::encodeName(link).constData()) == 0;
}

std::string key(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

// Polls read nothing until the content present at the last start or restart is indexed.
bool awaitCopyIndex(FileWatcher& watcher) {
    QSignalSpy ready(&watcher, &FileWatcher::copyIndexReady);
    return !watcher.isIndexingCopies() || ready.wait();
}

// "7@3" is a prompt with uuid "u7" and the third second as timestamp, "7" is "7@7", and an empty
// side leaves that field out. "c7" is a uuid in canonical form, and "/s" adds session "s".
QByteArray identifiedPrompt(const QString& token) {
    const QStringList withSession = token.split(u'/');
    const QString id = withSession.first();
    const qsizetype at = id.indexOf(u'@');
    const QString uuid = at < 0 ? id : id.left(at);
    const QString second = at < 0 ? id : id.mid(at + 1);
    QByteArray record = R"({"type":"user","message":{"role":"user","content":"typed"})";
    if (uuid.startsWith(u'c')) {
        record +=
            R"(,"uuid":"00000000-0000-4000-8000-)" + uuid.mid(1).rightJustified(12, u'0').toLatin1() + R"(")";
    } else if (!uuid.isEmpty()) {
        record += R"(,"uuid":"u)" + uuid.toLatin1() + R"(")";
    }
    if (withSession.size() > 1) {
        record += R"(,"sessionId":")" + withSession.last().toLatin1() + R"(")";
    }
    if (!second.isEmpty()) {
        record +=
            R"(,"timestamp":"2025-06-01T10:00:)" + second.rightJustified(2, u'0').toLatin1() + R"(.000Z")";
    }
    return record + "}\n" + assistantRecord + '\n';
}

} // namespace

class TestFileWatcher : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void appendedText_data();
    void appendedText();
    void tornRecordsCountOnce();
    void shrunkFileKeepsItsPosition();
    void discovery_data();
    void discovery();
    void linkLoopsEnd();
    void fileLinks();
    void missingLinkedRootIsWatchedUntilItAppears();
    void restartFromACallbackEndsThePoll();
    void copiesOfOtherTranscripts_data();
    void copiesOfOtherTranscripts();
    void countsWhatPeopleTypedInRealTranscripts();
    void watchesSeveralRoots();
    void replaysOtherAssistantsSamples();

private:
    QString root() const { return m_dir->path() + u"/projects"_s; }
    QString folder(const QString& name) const { return m_dir->path() + u'/' + name; }
    std::vector<WatchedRoot> otherRoots() const;
    QString path(const QString& relative) const { return root() + u'/' + relative; }
    bool writeIdentifiedPrompts(const QString& step, int fragment);
    std::int64_t position(const QString& path) const { return m_watcher->filePositions().at(key(path)); }
    int poll();

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<FileWatcher> m_watcher;
    int m_prompts = 0;
};

void TestFileWatcher::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    QVERIFY(QDir().mkpath(root()));
    m_prompts = 0;
    m_watcher = std::make_unique<FileWatcher>(manualPolling);
    m_watcher->onNewRequest = [this] { ++m_prompts; };
}

void TestFileWatcher::cleanup() {
    m_watcher.reset();
    m_dir.reset();
}

// The prompts counted by one poll, taken once polls read again.
int TestFileWatcher::poll() {
    const int before = m_prompts;
    awaitCopyIndex(*m_watcher); // a poll before the index is ready reads nothing
    m_watcher->pollNow();
    return m_prompts - before;
}

void TestFileWatcher::appendedText_data() {
    QTest::addColumn<QByteArray>("appended");
    QTest::addColumn<int>("expected");
    QTest::addColumn<int>("leftUnread");

    QTest::addRow("no final line feed") << prompt(1) + '\n' + prompt(2) << 2 << 0;
    // U+00A0, U+2003 and U+200A (the end of the U+2000 range) before and U+3000 after.
    QTest::addRow("white space around lines")
        << "\n \t\r\n\xC2\xA0\xE2\x80\x83" + prompt(1) + "\xE3\x80\x80\r\n\n" + prompt(2) + "\xE2\x80\x8A\n"
        << 2 << 0;
    QTest::addRow("invalid UTF-8 spoils its own line only")
        << joinLines({prompt(1), promptWithText("caf\xC3"), "\xFE\xFF\x80 not text", prompt(2)}) << 2 << 0;
    QTest::addRow("whole lines then half a record") << prompts(1, 2) + prompt(3).left(30) << 2 << 30;
    QTest::addRow("a line longer than several reads") << promptWithText(QByteArray(200 * 1024, 'x')) + '\n'
                                                      << 1 << 0;
    QTest::addRow("many prompts over several reads") << prompts(1, 4000) << 4000 << 0;
}

// What one append to a transcript known at the start counts, and where its position ends up.
void TestFileWatcher::appendedText() {
    QFETCH(QByteArray, appended);
    QFETCH(int, expected);
    QFETCH(int, leftUnread);

    const QString file = path(u"project/session.jsonl"_s);
    QVERIFY(writeTo(file, prompts(100, 2)));
    m_watcher->start(root());
    QVERIFY(writeTo(file, appended));
    QCOMPARE(poll(), expected);
    QCOMPARE(position(file), QFileInfo(file).size() - leftUnread);
    const std::uint64_t read = m_watcher->contentBytesRead();
    QCOMPARE(poll(), 0); // a half line left over is not read again until the file changes
    QCOMPARE(m_watcher->contentBytesRead(), read);
}

// A writer caught in the middle of a record at any byte: every record is still counted exactly
// once, the last one included although it never gets a line feed.
void TestFileWatcher::tornRecordsCountOnce() {
    const QByteArray text = (joinLines({prompt(1), assistantRecord}) + prompts(2, 2)).chopped(1);
    m_watcher->start(root());
    const QString file = path(u"project/torn.jsonl"_s);
    for (const char byte : text) {
        QVERIFY(writeTo(file, QByteArray(1, byte)));
        poll();
    }
    QCOMPARE(m_prompts, 3);
    QCOMPARE(position(file), text.size());
}

void TestFileWatcher::shrunkFileKeepsItsPosition() {
    const QString file = path(u"project/session.jsonl"_s);
    QVERIFY(writeTo(file, prompts(1, 3)));
    m_watcher->start(root());
    const std::int64_t oldLength = QFileInfo(file).size();
    QVERIFY(QFile::resize(file, 10));
    QCOMPARE(poll(), 0);

    const QByteArray filler(oldLength - 20, ' ');
    const QByteArray rewritten = filler + '\n' + prompt(4) + '\n' + prompt(5) + '\n';
    QVERIFY(writeTo(file, rewritten, QIODevice::Truncate));
    QCOMPARE(poll(), 1);
    QCOMPARE(m_watcher->contentBytesRead(), std::uint64_t(rewritten.size() - oldLength));
}

void TestFileWatcher::discovery_data() {
    QTest::addColumn<QString>("relativePath");
    QTest::addColumn<bool>("watched");

    QTest::addRow("deep, hidden, non-ASCII") << u".hidden/b/c/.séance €.jsonl"_s << true;
    QTest::addRow("in a folder named like a transcript") << u"d.jsonl/inner.jsonl"_s << true;
    QTest::addRow("upper-case extension") << u"p/a.JSONL"_s << false;
    QTest::addRow("further suffix") << u"p/a.jsonl.bak"_s << false;
    QTest::addRow("only the suffix") << u"p/.jsonl"_s << false;
}

void TestFileWatcher::discovery() {
    QFETCH(QString, relativePath);
    QFETCH(bool, watched);

    m_watcher->start(root());
    QVERIFY(writeTo(path(relativePath), prompts(1, 1)));
    QCOMPARE(poll(), watched ? 1 : 0);
}

// Links back to the root, to the folder itself, above the root, a second link to a folder, and
// links leaving the tree, twice, to a folder that links back and to itself: every real folder is
// listed once, so each transcript is known under one path.
void TestFileWatcher::linkLoopsEnd() {
    const QString outside = m_dir->path() + u"/outside"_s;
    QVERIFY(writeTo(path(u"a/x.jsonl"_s), QByteArray()));
    QVERIFY(writeTo(outside + u"/y.jsonl"_s, QByteArray()));
    QVERIFY(makeLink(u".."_s, path(u"a/up"_s)));
    QVERIFY(makeLink(u"."_s, path(u"a/self"_s)));
    QVERIFY(makeLink(root(), path(u"a/root"_s)));
    QVERIFY(makeLink(m_dir->path(), path(u"a/home"_s)));
    QVERIFY(makeLink(u"a"_s, path(u"b"_s)));
    QVERIFY(makeLink(outside, path(u"c/outside"_s)));
    QVERIFY(makeLink(path(u"c"_s), outside + u"/back"_s));
    QVERIFY(makeLink(outside, path(u"d/again"_s)));
    QVERIFY(makeLink(outside, outside + u"/self"_s));

    m_watcher->start(root());
    QVERIFY(writeTo(path(u"a/x.jsonl"_s), prompts(1, 2)));
    QVERIFY(writeTo(outside + u"/y.jsonl"_s, prompts(3, 1)));
    QCOMPARE(poll(), 3);
    QCOMPARE(m_watcher->filePositions().size(), 2u);
}

// A transcript is read under its own path only, so a link to one inside the tree is passed over;
// other file links are read through, one that dangles from the first byte its target gets. A pipe
// named like a transcript must not stall the poll.
void TestFileWatcher::fileLinks() {
    const QString elsewhere = m_dir->path() + u"/elsewhere/"_s;
    QVERIFY(writeTo(path(u"p/a.jsonl"_s), QByteArray()));
    QVERIFY(writeTo(path(u"p/notes.txt"_s), QByteArray()));
    QVERIFY(writeTo(elsewhere + u"real.jsonl"_s, prompts(1, 2)));
    QVERIFY(makeLink(u"../p/a.jsonl"_s, path(u"q/a.jsonl"_s)));
    QVERIFY(makeLink(u"../p/notes.txt"_s, path(u"q/notes.jsonl"_s)));
    QVERIFY(makeLink(elsewhere + u"real.jsonl"_s, path(u"q/real.jsonl"_s)));
    QVERIFY(makeLink(elsewhere + u"later.jsonl"_s, path(u"q/later.jsonl"_s)));
    QCOMPARE(::mkfifo(QFile::encodeName(path(u"q/pipe.jsonl"_s)).constData(), 0600), 0);
    m_watcher->start(root());

    for (const QString& target : {path(u"p/a.jsonl"_s), path(u"p/notes.txt"_s), elsewhere + u"real.jsonl"_s,
                                  elsewhere + u"later.jsonl"_s}) {
        QVERIFY(writeTo(target, prompts(3, 1)));
    }
    QCOMPARE(poll(), 4);
}

// The root may be a link, one whose target appears only later.
void TestFileWatcher::missingLinkedRootIsWatchedUntilItAppears() {
    const QString missing = m_dir->path() + u"/not-yet"_s;
    const QString link = m_dir->path() + u"/linked"_s;
    QVERIFY(makeLink(missing, link));
    m_watcher->start(link);
    QCOMPARE(poll(), 0);

    QVERIFY(writeTo(missing + u"/p/s.jsonl"_s, prompts(1, 2)));
    QCOMPARE(poll(), 2);
}

// A callback may reset the session, which restarts the watcher in the middle of a poll: the
// restart's snapshot swallows the rest, and nothing of the interrupted poll is touched again. The
// position has moved before the callback runs, so whatever it does no line is counted twice.
void TestFileWatcher::restartFromACallbackEndsThePoll() {
    const QString one = path(u"p/one.jsonl"_s);
    const QString two = path(u"q/two.jsonl"_s);
    m_watcher->start(root());
    std::int64_t seen = 0;
    m_watcher->onNewRequest = [&] {
        if (++m_prompts == 1) {
            seen = position(one) + position(two); // the one being read, and the other still at 0
            m_watcher->restart();
        }
    };
    QVERIFY(writeTo(one, prompts(1, 3)));
    QVERIFY(writeTo(two, prompts(4, 2)));
    QCOMPARE(poll(), 1);
    QVERIFY(seen == QFileInfo(one).size() || seen == QFileInfo(two).size());
    QCOMPARE(poll(), 0);
}

// "a: 1 2" appends two identified prompts to transcript a, in pieces of `fragment` bytes with a
// poll after each when that is not 0.
bool TestFileWatcher::writeIdentifiedPrompts(const QString& step, int fragment) {
    const QStringList fileAndTokens = step.split(u": "_s);
    QByteArray text;
    for (const QString& token : fileAndTokens.value(1).split(u' ', Qt::SkipEmptyParts)) {
        text += identifiedPrompt(token);
    }
    const QString file = path(u"p/"_s + fileAndTokens.first() + u".jsonl"_s);
    const qsizetype piece = fragment ? fragment : text.size();
    for (qsizetype written = 0; written < text.size(); written += piece) {
        if (!writeTo(file, text.mid(written, piece))) {
            return false;
        }
        if (fragment) {
            m_watcher->pollNow();
        }
    }
    return true;
}

void TestFileWatcher::copiesOfOtherTranscripts_data() {
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<int>("fragment");
    QTest::addColumn<int>("expected");

    QTest::addRow("resume of a conversation older than the start")
        << QStringList{u"a: 1 2 3"_s, u"start"_s, u"b: 1 2 3 4"_s} << 0 << 1;
    QTest::addRow("resume of a conversation typed since the start")
        << QStringList{u"start"_s, u"a: 1 2"_s, u"poll"_s, u"b: 1 2 3"_s} << 0 << 3;
    QTest::addRow("fork carrying part of a conversation")
        << QStringList{u"a: 1 2 3 4"_s, u"start"_s, u"b: 1 2 5"_s} << 0 << 1;
    QTest::addRow("ids and timestamps reused apart")
        << QStringList{u"a: 1@1 2@2"_s, u"start"_s, u"b: 1@3 2@4 3@1"_s} << 0 << 3;
    QTest::addRow("the same prompt twice in one transcript")
        << QStringList{u"a: 1"_s, u"start"_s, u"b: 5 5"_s, u"a: 1"_s} << 0 << 3;
    QTest::addRow("a prompt two transcripts held at the start, again in each")
        << QStringList{u"a: 1"_s, u"b: 1"_s, u"start"_s, u"a: 1"_s, u"b: 1"_s} << 0 << 0;
    QTest::addRow("a prompt copied since the start, again in its own transcript")
        << QStringList{u"start"_s, u"a: 1"_s, u"poll"_s, u"b: 1"_s, u"poll"_s, u"a: 1"_s} << 0 << 1;
    QTest::addRow("a canonical uuid read before, at another moment")
        << QStringList{u"a: c1@1"_s, u"start"_s, u"b: c1@2"_s, u"a: c2@3 c2@4"_s} << 0 << 1;
    QTest::addRow("a moment of a conversation read before")
        << QStringList{u"a: 1@1/s"_s, u"start"_s, u"b: 2@1/s 3@1/t"_s, u"a: 4@1/s"_s} << 0 << 1;
    QTest::addRow("records lacking a timestamp or a uuid")
        << QStringList{u"a: 1@ @2"_s, u"start"_s, u"b: 1@ @2"_s} << 0 << 2;
    QTest::addRow("a copy written in torn fragments")
        << QStringList{u"a: 1 2"_s, u"start"_s, u"b: 1 2 3"_s} << 9 << 1;
    QTest::addRow("a copy written while the index is built")
        << QStringList{u"a: 1 2"_s, u"begin"_s, u"b: 1 2 3"_s, u"poll"_s, u"a: 4"_s, u"poll"_s} << 0 << 2;
    QTest::addRow("a reset passes over new lines and files, and indexes them")
        << QStringList{u"a: 1"_s, u"start"_s, u"a: 2"_s, u"c: 4"_s, u"restart"_s, u"b: 1 2 3 4"_s} << 0 << 1;
    QTest::addRow("a reset while the index is built")
        << QStringList{u"a: 1"_s, u"begin"_s, u"a: 2"_s, u"restart"_s, u"b: 1 2 3"_s} << 0 << 1;
}

// Prompts counted over the steps and a last poll: "start" starts watching and waits for the index,
// "begin" starts without waiting. Until the index is ready polls read nothing, and it can only be
// taken up while the event loop runs, which no step but "start" and the last poll does.
void TestFileWatcher::copiesOfOtherTranscripts() {
    QFETCH(QStringList, steps);
    QFETCH(int, fragment);
    QFETCH(int, expected);

    for (const QString& step : steps) {
        if (step == u"start"_s || step == u"begin"_s) {
            m_watcher->start(root());
            QVERIFY(step == u"begin"_s || awaitCopyIndex(*m_watcher));
        } else if (step == u"poll"_s) {
            m_watcher->pollNow();
        } else if (step == u"restart"_s) {
            m_watcher->restart();
        } else {
            QVERIFY(writeIdentifiedPrompts(step, fragment));
        }
    }
    poll();
    QCOMPARE(m_prompts, expected);
}

// Real transcripts, each record labelled by hand, written anew oldest first in torn pieces while the
// watcher runs: it counts what people typed, and three copies of a conversation that is not among them.
void TestFileWatcher::countsWhatPeopleTypedInRealTranscripts() {
    const QDir real(qEnvironmentVariable("ZENTREL_SOURCE_DIR") + u"/../shared/acceptance/real"_s);
    QFile labels(real.filePath(u"LABELS.tsv"_s));
    if (!labels.open(QIODevice::ReadOnly)) {
        QSKIP("no labelled transcripts beside the project");
    }
    int typed = 0;
    for (const QByteArray& row : labels.readAll().split('\n')) {
        const QByteArrayList fields = row.split('\t');
        typed += fields.size() > 3 && fields[2] == "user" && fields[3] == "yes" ? 1 : 0;
    }
    QFileInfoList files = real.entryInfoList({u"*.jsonl"_s}, QDir::Files, QDir::Name);
    std::stable_sort(files.begin(), files.end(), [](const QFileInfo& a, const QFileInfo& b) {
        return transcriptStart(key(a.filePath())) < transcriptStart(key(b.filePath()));
    });
    m_watcher->start(root());
    for (const QFileInfo& file : files) {
        QFile source(file.filePath());
        QVERIFY(source.open(QIODevice::ReadOnly));
        const QByteArray text = source.readAll();
        constexpr qsizetype piece = 100003; // torn mid-record, and more than one read's worth
        for (qsizetype written = 0; written < text.size(); written += piece) {
            QVERIFY(writeTo(path(file.fileName()), text.mid(written, piece)));
            poll();
        }
    }
    QCOMPARE(m_prompts, typed + 3);
}

// The missing Codex folder comes first, so that it must not keep the others from being walked.
std::vector<WatchedRoot> TestFileWatcher::otherRoots() const {
    return {{Assistant::Codex, key(folder(u"codex"_s)), "history.jsonl"},
            {Assistant::Claude, key(root()), {}},
            {Assistant::Copilot, key(folder(u"copilot"_s)), "session-state/*/events.jsonl"},
            {Assistant::Gemini, key(folder(u"gemini"_s)), "tmp/*/chats/session-*.jsonl"},
            {Assistant::Qwen, key(folder(u"qwen"_s)), "projects/*/chats/*.jsonl"}};
}

// Content present at the start is skipped but its Gemini ids are known; a root that appears later is
// read from its first byte; a Gemini message written again counts once, and a sub-agent's session
// not at all.
void TestFileWatcher::watchesSeveralRoots() {
    const auto gemini = [](const char* id, const char* text) {
        return QByteArray(R"({"id":")") + id + R"(","type":"user","content":[{"text":")" + text + R"("}]})" +
               '\n';
    };
    const QString session = folder(u"gemini/tmp/p/chats/session-1.jsonl"_s);
    QVERIFY(writeTo(session, gemini("old", "typed before")));
    QVERIFY(writeTo(folder(u"copilot/session-state/s/events.jsonl"_s), "{}\n"));
    m_watcher->start(otherRoots());
    QCOMPARE(m_watcher->presentRoots(), (std::vector<bool>{false, true, true, true, false}));
    QCOMPARE(poll(), 0);

    QVERIFY(writeTo(folder(u"copilot/session-state/s/events.jsonl"_s),
                    R"({"type":"user.message","data":{"content":"","transformedContent":"go on"}})"
                    "\n"
                    R"({"type":"user.message","data":{"content":"fix it"}})"
                    "\n"));
    QVERIFY(writeTo(path(u"p/t.jsonl"_s), prompts(1, 1)));
    QCOMPARE(poll(), 2);

    QSignalSpy appeared(m_watcher.get(), &FileWatcher::presentRootsChanged);
    QVERIFY(writeTo(folder(u"codex/history.jsonl"_s), R"({"session_id":"s","ts":1,"text":"hi"})"
                                                      "\n"));
    QVERIFY(
        writeTo(session, gemini("old", "typed before") + gemini("new", "typed") + gemini("new", "typed")));
    QVERIFY(
        writeTo(folder(u"gemini/tmp/p/chats/session-2.jsonl"_s), R"({"sessionId":"s","kind":"subagent"})"
                                                                 "\n" +
                                                                     gemini("sub", "asked by the agent")));
    QCOMPARE(poll(), 2);
    QCOMPARE(appeared.count(), 1);
}

// The sample logs, written as new files under their assistants' roots, count what the person typed.
void TestFileWatcher::replaysOtherAssistantsSamples() {
    const QDir others(qEnvironmentVariable("ZENTREL_SOURCE_DIR") + u"/../shared/acceptance/others"_s);
    if (!others.exists()) {
        QSKIP("no sample logs of other assistants beside the project");
    }
    m_watcher->start(otherRoots());
    QCOMPARE(poll(), 0);
    const QList<std::tuple<QString, QString, int>> samples{
        {u"copilot/Mai0313*"_s, u"copilot/session-state/a/events.jsonl"_s, 1},
        {u"copilot/WildChild*"_s, u"copilot/session-state/b/events.jsonl"_s, 1},
        {u"qwen/*27d495d1*"_s, u"qwen/projects/-work/chats/27d495d1.jsonl"_s, 1},
        {u"qwen/*c190cd9d*"_s, u"qwen/projects/-work/chats/c190cd9d.jsonl"_s, 1},
        {u"gemini/*"_s, u"gemini/tmp/p/chats/session-x.jsonl"_s, 2},
    };
    for (const auto& [sample, place, typed] : samples) {
        const QDir kind(others.filePath(sample.section(u'/', 0, 0)));
        QFile source(
            kind.filePath(kind.entryList({sample.section(u'/', 1) + u".jsonl"_s}, QDir::Files).value(0)));
        QVERIFY2(source.open(QIODevice::ReadOnly), qPrintable(sample));
        QVERIFY(writeTo(folder(place), source.readAll()));
        QCOMPARE(poll(), typed);
    }
}

QTEST_GUILESS_MAIN(TestFileWatcher)
#include "tst_filewatcher.moc"
