#include "FileWatcher.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QRandomGenerator>
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
const QByteArray toolResultRecord =
    R"({"type":"user","message":{"role":"user","content":[{"type":"tool_result","tool_use_id":"t1","content":"ok"}]}})";

QByteArray joinLines(const QList<QByteArray>& lines) {
    QByteArray text;
    for (const QByteArray& line : lines)
        text += line + '\n';
    return text;
}

QByteArray prompts(int first, int count) {
    QList<QByteArray> lines;
    for (int number = first; number < first + count; ++number)
        lines.append(prompt(number));
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
// side leaves that field out.
QByteArray identifiedPrompt(const QString& token) {
    const qsizetype at = token.indexOf(u'@');
    const QString uuid = at < 0 ? token : token.left(at);
    const QString second = at < 0 ? token : token.mid(at + 1);
    QByteArray record = R"({"type":"user","message":{"role":"user","content":"typed"})";
    if (!uuid.isEmpty()) {
        record += R"(,"uuid":"u)" + uuid.toLatin1() + R"(")";
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

    void existingContentIsSkipped();
    void newFileIsReadFromItsStart();
    void countedPromptsAreLoggedWhenAskedFor();
    void positionMovesBeforeTheCallback();
    void appendedText_data();
    void appendedText();
    void tornRecordsCountOnce_data();
    void tornRecordsCountOnce();
    void abandonedHalfLineIsNotReadAgain();
    void shrunkFileKeepsItsPosition_data();
    void shrunkFileKeepsItsPosition();
    void discovery_data();
    void discovery();
    void linkLoopsEnd();
    void linkAboveTheRootCountsOnce();
    void rootMayBeALink();
    void fileLinkIsReadThroughItsTarget();
    void linkToATranscriptInsideTheRootCountsOnce();
    void danglingLinkIsReadOnceItsTargetAppears();
    void unreadableFileIsReadOnceReadable();
    void unlistableFolderIsPassedOver();
    void pipeNamedLikeATranscriptDoesNotStall();
    void missingRootIsWatchedUntilItAppears();
    void restartSwallowsUnreadLines();
    void restartFromACallbackEndsThePoll();
    void restartBeforeStartStaysStopped();
    void unsetCallbackStillAdvances();
    void oneAppendAmongTenThousandFiles();
    void timerFirstFiresOneIntervalAfterStart();
    void copiesOfOtherTranscripts_data();
    void copiesOfOtherTranscripts();

private:
    QString root() const { return m_dir->path() + u"/projects"_s; }
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
    if (!awaitCopyIndex(*m_watcher)) {
        return -1;
    }
    m_watcher->pollNow();
    return m_prompts - before;
}

void TestFileWatcher::existingContentIsSkipped() {
    const QString file = path(u"project/session.jsonl"_s);
    QVERIFY(writeTo(file, prompts(1, 2)));
    m_watcher->start(root());
    QCOMPARE(position(file), QFileInfo(file).size());
    QCOMPARE(poll(), 0);
    QCOMPARE(m_watcher->contentBytesRead(), 0u);

    QVERIFY(writeTo(file, prompts(3, 1)));
    QCOMPARE(poll(), 1);
    QCOMPARE(position(file), QFileInfo(file).size());
    QCOMPARE(m_watcher->contentBytesRead(), std::uint64_t(prompt(3).size() + 1));
}

void TestFileWatcher::newFileIsReadFromItsStart() {
    m_watcher->start(root());
    const QString file = path(u"project/new.jsonl"_s);
    QVERIFY(writeTo(file, joinLines({prompt(1), assistantRecord, prompt(2), toolResultRecord, prompt(3)})));
    QCOMPARE(poll(), 3);
    QCOMPARE(position(file), QFileInfo(file).size());
    QCOMPARE(poll(), 0);
}

// Silent by default; with the category's info level on, each counted prompt names its transcript.
void TestFileWatcher::countedPromptsAreLoggedWhenAskedFor() {
    m_watcher->start(root());
    const QString file = path(u"project/logged.jsonl"_s);
    QVERIFY(writeTo(file, joinLines({prompt(1), assistantRecord})));
    QLoggingCategory::setFilterRules(u"zentrel.watcher.info=true"_s);
    QTest::ignoreMessage(QtInfoMsg, qPrintable(u"prompt in "_s + file));
    QCOMPARE(poll(), 1);
    QLoggingCategory::setFilterRules(QString());
    QVERIFY(writeTo(file, prompts(2, 1)));
    QCOMPARE(poll(), 1); // nothing logged now: an unexpected message would fail the test
}

// A callback that looks (or a crash inside it) never sees a line it was called for still unread.
void TestFileWatcher::positionMovesBeforeTheCallback() {
    m_watcher->start(root());
    const QString file = path(u"project/new.jsonl"_s);
    QList<std::int64_t> seen;
    m_watcher->onNewRequest = [this, &seen, &file] { seen.append(position(file)); };
    QVERIFY(writeTo(file, prompts(1, 2)));
    poll();
    QCOMPARE(seen, QList<std::int64_t>({QFileInfo(file).size(), QFileInfo(file).size()}));
}

void TestFileWatcher::appendedText_data() {
    QTest::addColumn<QByteArray>("appended");
    QTest::addColumn<int>("expected");
    QTest::addColumn<int>("leftUnread");

    const QByteArray hugeText(200 * 1024, 'x');
    QTest::addRow("three prompts") << prompts(1, 3) << 3 << 0;
    QTest::addRow("no final line feed") << prompt(1) + '\n' + prompt(2) << 2 << 0;
    QTest::addRow("blank lines and spaces") << "\n\n   \n\t\n" + prompt(1) + "\n \n  \n" << 1 << 0;
    QTest::addRow("carriage returns") << prompt(1) + "\r\n\r\n" + prompt(2) + "\r\n" << 2 << 0;
    QTest::addRow("unicode white space") << "\xC2\xA0\xE2\x80\x83" + prompt(1) + "\xE3\x80\x80\n" << 1 << 0;
    QTest::addRow("invalid UTF-8 inside one prompt")
        << joinLines({prompt(1), promptWithText("caf\xC3"), promptWithText("bad \xFF byte"), prompt(2)}) << 2
        << 0;
    QTest::addRow("invalid UTF-8 line between prompts")
        << joinLines({prompt(1), "\xFE\xFF\x80 not text", prompt(2)}) << 2 << 0;
    QTest::addRow("identical prompt lines") << joinLines({prompt(7), prompt(7)}) << 2 << 0;
    QTest::addRow("records that are not prompts") << joinLines({assistantRecord, toolResultRecord}) << 0 << 0;
    QTest::addRow("half a record") << prompt(1).left(25) << 0 << 25;
    QTest::addRow("whole lines then half a record") << prompts(1, 2) + prompt(3).left(30) << 2 << 30;
    QTest::addRow("a line longer than several reads") << promptWithText(hugeText) + '\n' << 1 << 0;
    QTest::addRow("many prompts over several reads") << prompts(1, 4000) << 4000 << 0;
}

// What one append to a known transcript counts, and where its position ends up.
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
}

void TestFileWatcher::tornRecordsCountOnce_data() {
    QTest::addColumn<quint32>("seed");
    QTest::addColumn<int>("longestFragment");

    QTest::addRow("bytes, seed 1") << 1u << 3;
    QTest::addRow("short pieces, seed 2") << 2u << 40;
    QTest::addRow("short pieces, seed 3") << 3u << 40;
    QTest::addRow("long pieces, seed 4") << 4u << 700;
}

// A writer caught in the middle of a record at any byte: every record is still counted exactly
// once, the last one included although it never gets a line feed.
void TestFileWatcher::tornRecordsCountOnce() {
    QFETCH(quint32, seed);
    QFETCH(int, longestFragment);

    QRandomGenerator random(seed);
    QList<QByteArray> lines;
    int expected = 0;
    for (int line = 0; line < 30; ++line) {
        switch (random.bounded(4)) {
        case 0:
            lines.append(assistantRecord);
            break;
        case 1:
            lines.append(toolResultRecord);
            break;
        default:
            lines.append(prompt(line));
            ++expected;
        }
    }
    lines.append(prompt(1000));
    ++expected;
    QByteArray text = joinLines(lines);
    text.chop(1);

    m_watcher->start(root());
    const QString file = path(u"project/torn.jsonl"_s);
    for (qsizetype written = 0; written < text.size();) {
        const qsizetype length =
            std::min<qsizetype>(1 + random.bounded(longestFragment), text.size() - written);
        QVERIFY(writeTo(file, text.mid(written, length)));
        written += length;
        poll();
    }
    QCOMPARE(m_prompts, expected);
    QCOMPARE(position(file), text.size());
}

void TestFileWatcher::abandonedHalfLineIsNotReadAgain() {
    m_watcher->start(root());
    const QString file = path(u"project/session.jsonl"_s);
    const QByteArray half = prompt(2).left(40);
    QVERIFY(writeTo(file, prompts(1, 1) + half));
    QCOMPARE(poll(), 1);
    const std::uint64_t read = m_watcher->contentBytesRead();
    QCOMPARE(poll(), 0);
    QCOMPARE(m_watcher->contentBytesRead(), read);

    QVERIFY(writeTo(file, prompt(2).mid(40) + '\n'));
    QCOMPARE(poll(), 1);
    QCOMPARE(m_watcher->contentBytesRead(), read + prompt(2).size() + 1);
}

void TestFileWatcher::shrunkFileKeepsItsPosition_data() {
    QTest::addColumn<bool>("deleted");
    QTest::addRow("truncated in place") << false;
    QTest::addRow("deleted and recreated") << true;
}

// Only the bytes past the old position are read once the file has grown again, and the record
// that straddles the old position is not a prompt from its middle on.
void TestFileWatcher::shrunkFileKeepsItsPosition() {
    QFETCH(bool, deleted);

    const QString file = path(u"project/session.jsonl"_s);
    QVERIFY(writeTo(file, prompts(1, 3)));
    m_watcher->start(root());
    const std::int64_t oldLength = QFileInfo(file).size();

    if (deleted)
        QVERIFY(QFile::remove(file));
    else
        QVERIFY(QFile::resize(file, 10));
    QCOMPARE(poll(), 0);
    if (deleted)
        QVERIFY(writeTo(file, prompt(9).left(10)));
    QCOMPARE(poll(), 0);
    QCOMPARE(position(file), oldLength);
    QCOMPARE(m_watcher->contentBytesRead(), 0u);

    const QByteArray filler(oldLength - 20, ' ');
    const QByteArray rewritten = filler + '\n' + prompt(4) + '\n' + prompt(5) + '\n';
    QVERIFY(writeTo(file, rewritten, QIODevice::Truncate));
    QCOMPARE(poll(), 1);
    QCOMPARE(m_watcher->contentBytesRead(), std::uint64_t(rewritten.size() - oldLength));
}

void TestFileWatcher::discovery_data() {
    QTest::addColumn<QString>("relativePath");
    QTest::addColumn<bool>("watched");

    QTest::addRow("top level") << u"a.jsonl"_s << true;
    QTest::addRow("project folder") << u"-home-me-code/1f2e.jsonl"_s << true;
    QTest::addRow("hidden folder") << u".hidden/s.jsonl"_s << true;
    QTest::addRow("hidden file") << u"p/.s.jsonl"_s << true;
    QTest::addRow("deep") << u"a/b/c/d/e/f.jsonl"_s << true;
    QTest::addRow("folder named like a transcript") << u"d.jsonl/inner.jsonl"_s << true;
    QTest::addRow("non-ASCII name") << u"p/séance €.jsonl"_s << true;
    QTest::addRow("upper-case extension") << u"p/a.JSONL"_s << false;
    QTest::addRow("mixed-case extension") << u"p/a.Jsonl"_s << false;
    QTest::addRow("further suffix") << u"p/a.jsonl.bak"_s << false;
    QTest::addRow("other extension") << u"p/a.json"_s << false;
    QTest::addRow("suffix without a dot") << u"p/ajsonl"_s << false;
    QTest::addRow("only the suffix") << u"p/.jsonl"_s << false;
}

void TestFileWatcher::discovery() {
    QFETCH(QString, relativePath);
    QFETCH(bool, watched);

    m_watcher->start(root());
    QVERIFY(writeTo(path(relativePath), prompts(1, 1)));
    QCOMPARE(poll(), watched ? 1 : 0);
    QCOMPARE(m_watcher->filePositions().contains(key(path(relativePath))), watched);
    QCOMPARE(m_watcher->filePositions().size(), watched ? 1u : 0u);
}

// Links back to the root, to the folder itself, a second link to a folder, and links leaving the
// tree, twice, to a folder that links back and to itself: every real folder is listed once, so
// each transcript is known under one path.
void TestFileWatcher::linkLoopsEnd() {
    const QString outside = m_dir->path() + u"/outside"_s;
    QVERIFY(writeTo(path(u"a/x.jsonl"_s), QByteArray()));
    QVERIFY(writeTo(outside + u"/y.jsonl"_s, QByteArray()));
    QVERIFY(makeLink(u".."_s, path(u"a/up"_s)));
    QVERIFY(makeLink(u"."_s, path(u"a/self"_s)));
    QVERIFY(makeLink(root(), path(u"a/root"_s)));
    QVERIFY(makeLink(u"a"_s, path(u"b"_s)));
    QVERIFY(makeLink(outside, path(u"c/outside"_s)));
    QVERIFY(makeLink(path(u"c"_s), outside + u"/back"_s));
    QVERIFY(makeLink(outside, path(u"d/again"_s)));
    QVERIFY(makeLink(outside, outside + u"/self"_s));

    m_watcher->start(root());
    QCOMPARE(m_watcher->filePositions().size(), 2u);
    QVERIFY(writeTo(path(u"a/x.jsonl"_s), prompts(1, 2)));
    QVERIFY(writeTo(outside + u"/y.jsonl"_s, prompts(3, 1)));
    QCOMPARE(poll(), 3);
    QCOMPARE(m_watcher->filePositions().size(), 2u);
    QVERIFY(m_watcher->filePositions().contains(key(path(u"a/x.jsonl"_s))));
}

// A folder link that leads above the root reaches the root again from outside; its transcripts
// must still be read under one path only.
void TestFileWatcher::linkAboveTheRootCountsOnce() {
    QVERIFY(makeLink(m_dir->path(), path(u"a/home"_s)));
    QVERIFY(writeTo(path(u"p/s.jsonl"_s), QByteArray()));
    m_watcher->start(root());
    QVERIFY(writeTo(path(u"p/s.jsonl"_s), prompts(1, 2)));
    QCOMPARE(poll(), 2);
    QCOMPARE(m_watcher->filePositions().size(), 1u);
    QVERIFY(m_watcher->filePositions().contains(key(path(u"p/s.jsonl"_s))));
}

void TestFileWatcher::rootMayBeALink() {
    const QString link = m_dir->path() + u"/linked-projects"_s;
    QVERIFY(makeLink(root(), link));
    m_watcher->start(link);
    QVERIFY(writeTo(path(u"p/s.jsonl"_s), prompts(1, 2)));
    QCOMPARE(poll(), 2);
    QVERIFY(m_watcher->filePositions().contains(key(link + u"/p/s.jsonl"_s)));
}

void TestFileWatcher::fileLinkIsReadThroughItsTarget() {
    const QString target = m_dir->path() + u"/elsewhere/real.jsonl"_s;
    const QString link = path(u"p/linked.jsonl"_s);
    QVERIFY(writeTo(target, prompts(1, 2)));
    QVERIFY(makeLink(target, link));
    m_watcher->start(root());
    QCOMPARE(position(link), QFileInfo(target).size());

    QVERIFY(writeTo(target, prompts(3, 1)));
    QCOMPARE(poll(), 1);
}

// The transcript is read under its own path only; a link to a file that is not named like a
// transcript is the only way to it, so that one is read through the link.
void TestFileWatcher::linkToATranscriptInsideTheRootCountsOnce() {
    QVERIFY(writeTo(path(u"p/a.jsonl"_s), QByteArray()));
    QVERIFY(writeTo(path(u"p/notes.txt"_s), QByteArray()));
    QVERIFY(makeLink(u"../p/a.jsonl"_s, path(u"q/b.jsonl"_s)));
    QVERIFY(makeLink(u"../p/notes.txt"_s, path(u"q/c.jsonl"_s)));
    m_watcher->start(root());
    QVERIFY(writeTo(path(u"p/a.jsonl"_s), prompts(1, 2)));
    QVERIFY(writeTo(path(u"p/notes.txt"_s), prompts(3, 1)));
    QCOMPARE(poll(), 3);
    QVERIFY(m_watcher->filePositions().contains(key(path(u"p/a.jsonl"_s))));
    QVERIFY(!m_watcher->filePositions().contains(key(path(u"q/b.jsonl"_s))));
    QVERIFY(m_watcher->filePositions().contains(key(path(u"q/c.jsonl"_s))));
}

// A link whose target is missing cannot be read: it enters at position 0, and everything its
// target holds once it appears is new.
void TestFileWatcher::danglingLinkIsReadOnceItsTargetAppears() {
    const QString target = m_dir->path() + u"/elsewhere/later.jsonl"_s;
    const QString link = path(u"p/later.jsonl"_s);
    QVERIFY(makeLink(target, link));
    m_watcher->start(root());
    QCOMPARE(position(link), 0);
    QCOMPARE(poll(), 0);

    QVERIFY(writeTo(target, prompts(1, 2)));
    QCOMPARE(poll(), 2);
    QCOMPARE(position(link), QFileInfo(target).size());
}

void TestFileWatcher::unreadableFileIsReadOnceReadable() {
    if (::geteuid() == 0)
        QSKIP(
            "permissions do not stop the superuser from reading; the dangling-link case covers this as root");
    const QString file = path(u"p/locked.jsonl"_s);
    QVERIFY(writeTo(file, prompts(1, 2)));
    QVERIFY(QFile::setPermissions(file, QFileDevice::WriteOwner));
    m_watcher->start(root());
    QCOMPARE(position(file), 0);
    QCOMPARE(poll(), 0);

    QVERIFY(QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    QCOMPARE(poll(), 2);
}

void TestFileWatcher::unlistableFolderIsPassedOver() {
    if (::geteuid() == 0)
        QSKIP("permissions do not stop the superuser from listing a folder");
    const QString locked = path(u"locked"_s);
    QVERIFY(writeTo(locked + u"/hidden.jsonl"_s, QByteArray()));
    QVERIFY(QFile::setPermissions(locked, QFileDevice::WriteOwner));
    m_watcher->start(root());
    QVERIFY(writeTo(path(u"open/s.jsonl"_s), prompts(1, 1)));
    QCOMPARE(poll(), 1);
    QVERIFY(QFile::setPermissions(locked,
                                  QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner));
}

void TestFileWatcher::pipeNamedLikeATranscriptDoesNotStall() {
    QVERIFY(QDir().mkpath(path(u"p"_s)));
    QCOMPARE(::mkfifo(QFile::encodeName(path(u"p/pipe.jsonl"_s)).constData(), 0600), 0);
    m_watcher->start(root());
    QVERIFY(writeTo(path(u"p/s.jsonl"_s), prompts(1, 1)));
    QCOMPARE(poll(), 1);
    QCOMPARE(position(path(u"p/pipe.jsonl"_s)), 0);
}

void TestFileWatcher::missingRootIsWatchedUntilItAppears() {
    const QString missing = m_dir->path() + u"/not-yet"_s;
    m_watcher->start(missing);
    QCOMPARE(m_watcher->watchURL(), std::optional<QString>(missing));
    QCOMPARE(poll(), 0);
    QVERIFY(m_watcher->filePositions().empty());

    QVERIFY(writeTo(missing + u"/p/s.jsonl"_s, prompts(1, 2)));
    QCOMPARE(poll(), 2);
}

void TestFileWatcher::restartSwallowsUnreadLines() {
    const QString known = path(u"p/known.jsonl"_s);
    QVERIFY(writeTo(known, prompts(1, 1)));
    m_watcher->start(root());
    QVERIFY(writeTo(known, prompts(2, 1)));
    QVERIFY(writeTo(path(u"p/new.jsonl"_s), prompts(3, 1)));

    m_watcher->restart();
    QVERIFY(m_watcher->pollTimer() && m_watcher->pollTimer()->isActive());
    QCOMPARE(position(known), QFileInfo(known).size());
    QCOMPARE(poll(), 0);

    QVERIFY(writeTo(known, prompts(4, 2)));
    QCOMPARE(poll(), 2);
}

// A callback may reset the session, which restarts the watcher in the middle of a poll: the
// restart's snapshot swallows the rest, and nothing of the interrupted poll is touched again.
void TestFileWatcher::restartFromACallbackEndsThePoll() {
    m_watcher->start(root());
    m_watcher->onNewRequest = [this] {
        if (++m_prompts == 1)
            m_watcher->restart();
    };
    QVERIFY(writeTo(path(u"p/one.jsonl"_s), prompts(1, 3)));
    QVERIFY(writeTo(path(u"q/two.jsonl"_s), prompts(4, 2)));
    QCOMPARE(poll(), 1);
    QCOMPARE(position(path(u"p/one.jsonl"_s)), QFileInfo(path(u"p/one.jsonl"_s)).size());
    QCOMPARE(position(path(u"q/two.jsonl"_s)), QFileInfo(path(u"q/two.jsonl"_s)).size());
    QCOMPARE(poll(), 0);

    QVERIFY(writeTo(path(u"q/two.jsonl"_s), prompts(6, 1)));
    QCOMPARE(poll(), 1);
}

void TestFileWatcher::restartBeforeStartStaysStopped() {
    m_watcher->restart();
    QVERIFY(!m_watcher->watchURL());
    QVERIFY(!m_watcher->pollTimer());
    QVERIFY(m_watcher->filePositions().empty());
}

void TestFileWatcher::unsetCallbackStillAdvances() {
    FileWatcher watcher(manualPolling);
    watcher.start(root());
    const QString file = path(u"p/s.jsonl"_s);
    QVERIFY(writeTo(file, prompts(1, 2)));
    QVERIFY(awaitCopyIndex(watcher));
    watcher.pollNow();
    QCOMPARE(watcher.filePositions().at(key(file)), QFileInfo(file).size());
}

// All but one are hard links to one transcript, which makes the tree quick to build: to the
// watcher each is a path with a position of its own.
void TestFileWatcher::oneAppendAmongTenThousandFiles() {
    constexpr int folders = 100;
    constexpr int filesPerFolder = 100;
    const QString shared = m_dir->path() + u"/shared.jsonl"_s;
    const QString appended = path(u"p42/s17.jsonl"_s);
    QVERIFY(writeTo(shared, prompts(1, 1)));
    QVERIFY(writeTo(appended, prompts(1, 1)));
    for (int folder = 0; folder < folders; ++folder) {
        QVERIFY(QDir().mkpath(path(u"p%1"_s.arg(folder))));
        for (int file = 0; file < filesPerFolder; ++file) {
            const QString name = path(u"p%1/s%2.jsonl"_s.arg(folder).arg(file));
            QVERIFY(name == appended ||
                    ::link(QFile::encodeName(shared).constData(), QFile::encodeName(name).constData()) == 0);
        }
    }
    m_watcher->start(root());
    QCOMPARE(m_watcher->filePositions().size(), std::size_t(folders * filesPerFolder));
    QCOMPARE(poll(), 0);

    QVERIFY(writeTo(appended, prompts(2, 1)));
    QCOMPARE(poll(), 1);
    QCOMPARE(poll(), 0);
    QCOMPARE(m_watcher->contentBytesRead(), std::uint64_t(prompt(2).size() + 1));
}

void TestFileWatcher::timerFirstFiresOneIntervalAfterStart() {
    constexpr std::chrono::milliseconds interval{100};
    FileWatcher watcher(interval);
    int counted = 0;
    watcher.onNewRequest = [&counted] { ++counted; };
    QVERIFY(!watcher.pollTimer());

    QElapsedTimer clock;
    clock.start();
    watcher.start(root());
    const QTimer* timer = watcher.pollTimer();
    QVERIFY(timer && timer->isActive());
    QCOMPARE(timer->intervalAsDuration(), interval);
    QCOMPARE(timer->timerType(), Qt::PreciseTimer);
    QList<qint64> firings;
    connect(timer, &QTimer::timeout, this, [&firings, &clock] { firings.append(clock.elapsed()); });

    QVERIFY(writeTo(path(u"p/s.jsonl"_s), prompts(1, 1)));
    QTRY_COMPARE(counted, 1);
    QVERIFY2(firings.first() >= interval.count(),
             qPrintable(u"first firing after %1 ms"_s.arg(firings.first())));

    QVERIFY(writeTo(path(u"p/s.jsonl"_s), prompts(2, 1)));
    QTRY_COMPARE(counted, 2);
    QVERIFY(firings.size() >= 2);
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
    for (qsizetype written = 0; written < text.size(); written += fragment ? fragment : text.size()) {
        if (!writeTo(file, text.mid(written, fragment ? fragment : -1))) {
            return false;
        }
        if (fragment) {
            m_watcher->pollNow();
        }
    }
    return true;
}

void TestFileWatcher::copiesOfOtherTranscripts_data() {
    QTest::addColumn<QStringList>("present");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<int>("fragment");
    QTest::addColumn<bool>("indexFirst");
    QTest::addColumn<int>("expected");

    QTest::addRow("resume of a conversation older than the start")
        << QStringList{u"a: 1 2 3"_s} << QStringList{u"b: 1 2 3 4"_s} << 0 << true << 1;
    QTest::addRow("resume of a conversation typed since the start")
        << QStringList{} << QStringList{u"a: 1 2"_s, u"poll"_s, u"b: 1 2 3"_s} << 0 << true << 3;
    QTest::addRow("fork carrying part of a conversation")
        << QStringList{u"a: 1 2 3 4"_s} << QStringList{u"b: 1 2 5"_s} << 0 << true << 1;
    QTest::addRow("ids and timestamps reused apart")
        << QStringList{u"a: 1@1 2@2"_s} << QStringList{u"b: 1@3 2@4 3@1"_s} << 0 << true << 3;
    QTest::addRow("the same prompt twice in one transcript")
        << QStringList{u"a: 1"_s} << QStringList{u"b: 5 5"_s, u"a: 1"_s} << 0 << true << 3;
    QTest::addRow("a prompt two transcripts held at the start, again in each")
        << QStringList{u"a: 1"_s, u"b: 1"_s} << QStringList{u"a: 1"_s, u"b: 1"_s} << 0 << true << 0;
    QTest::addRow("a prompt copied since the start, again in its own transcript")
        << QStringList{} << QStringList{u"a: 1"_s, u"poll"_s, u"b: 1"_s, u"poll"_s, u"a: 1"_s} << 0 << true
        << 1;
    QTest::addRow("records lacking a timestamp or a uuid")
        << QStringList{u"a: 1@ @2"_s} << QStringList{u"b: 1@ @2"_s} << 0 << true << 2;
    QTest::addRow("a copy written in torn fragments")
        << QStringList{u"a: 1 2"_s} << QStringList{u"b: 1 2 3"_s} << 9 << true << 1;
    QTest::addRow("a copy written while the index is built")
        << QStringList{u"a: 1 2"_s} << QStringList{u"b: 1 2 3"_s, u"poll"_s, u"a: 4"_s, u"poll"_s} << 0
        << false << 2;
    QTest::addRow("a reset indexes what it passes over")
        << QStringList{u"a: 1"_s} << QStringList{u"a: 2"_s, u"restart"_s, u"b: 1 2 3"_s} << 0 << true << 1;
    QTest::addRow("a reset keeps prompts counted before it")
        << QStringList{} << QStringList{u"a: 1"_s, u"poll"_s, u"restart"_s, u"b: 1 2"_s} << 0 << true << 2;
    QTest::addRow("a reset while the index is built")
        << QStringList{u"a: 1"_s} << QStringList{u"a: 2"_s, u"restart"_s, u"b: 1 2 3"_s} << 0 << false << 1;
}

// Prompts counted over the steps and a last poll. Until the index is ready polls read nothing, and
// the index can only be taken up while the event loop runs, which no step does but the last poll.
void TestFileWatcher::copiesOfOtherTranscripts() {
    QFETCH(QStringList, present);
    QFETCH(QStringList, steps);
    QFETCH(int, fragment);
    QFETCH(bool, indexFirst);
    QFETCH(int, expected);

    for (const QString& step : present) {
        QVERIFY(writeIdentifiedPrompts(step, 0));
    }
    m_watcher->start(root());
    QVERIFY(!indexFirst || awaitCopyIndex(*m_watcher));
    for (const QString& step : steps) {
        if (step == u"poll"_s) {
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

QTEST_GUILESS_MAIN(TestFileWatcher)
#include "tst_filewatcher.moc"
