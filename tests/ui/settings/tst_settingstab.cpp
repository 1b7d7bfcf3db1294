#include "TestFiles.h"
#include "TrackerHarness.h"
#include "model/ExerciseCatalogue.h"
#include "ui/kit/Palette.h"
#include "ui/kit/PlainButton.h"
#include "ui/settings/ExerciseMenu.h"
#include "ui/settings/SettingsTab.h"
#include "ui/settings/SwitchToggle.h"
#include "ui/settings/WatchedDirectoryLine.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace {
// What the shell's login-item service would say: whether the entry is on and whether it takes
// a change at once or waits for the user's approval elsewhere.
struct LoginService {
    bool enabled = false;
    bool needsApproval = false;
    QList<bool> asked;

    LaunchAtLoginBinding binding() {
        return {[this] { return enabled; },
                [this](bool on) {
                    asked.append(on);
                    if (!needsApproval) {
                        enabled = on;
                    }
                }};
    }
};
} // namespace

class SettingsTabTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TrackerHarness> m_harness;
    std::unique_ptr<TrackerState> m_state;
    LoginService m_login;
    std::unique_ptr<SettingsTab> m_tab;

    void makeTab() {
        m_tab.reset();
        m_state = m_harness->makeModel();
        m_tab = std::make_unique<SettingsTab>(*m_state, m_login.binding());
        m_tab->resize(280, 700);
    }
    void showTab() {
        m_tab->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_tab.get()));
    }
    // A path is object names from the tab down, separated by slashes.
    template <typename T = QWidget> T* find(const QString& path) const {
        QObject* node = m_tab.get();
        for (const QString& name : path.split(QLatin1Char('/'))) {
            node = node ? node->findChild<QObject*>(name) : nullptr;
        }
        return qobject_cast<T*>(node);
    }
    void click(const QString& path) const {
        auto* widget = find(path);
        QVERIFY2(widget, qPrintable(path));
        QTest::mouseClick(widget, Qt::LeftButton, {}, widget->rect().center());
    }
    bool isOn(const char* name) const { return find<SwitchToggle>(QLatin1String(name))->isChecked(); }

private Q_SLOTS:
    void init() {
        m_harness = std::make_unique<TrackerHarness>();
        m_login = LoginService();
        makeTab();
    }

    void cleanup() {
        m_tab.reset();
        m_state.reset();
        m_harness.reset(); // puts HOME back
        qunsetenv("CLAUDE_CONFIG_DIR");
    }

    // Both steppers stay within 1 to 100 and grey the button that cannot move; a value stored
    // outside that range can still be brought back into it.
    void steppers_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<qint64>("start");
        QTest::addColumn<QString>("button");
        QTest::addColumn<qint64>("after");
        QTest::addColumn<bool>("minusGrey");
        QTest::addColumn<bool>("plusGrey");
        const QString minus = QStringLiteral("decrementButton");
        const QString plus = QStringLiteral("incrementButton");
        QTest::newRow("1 minus") << "promptLimit" << qint64(1) << minus << qint64(1) << true << false;
        QTest::newRow("99 plus") << "promptLimit" << qint64(99) << plus << qint64(100) << false << true;
        QTest::newRow("100 plus") << "promptLimit" << qint64(100) << plus << qint64(100) << false << true;
        QTest::newRow("reps 150 minus")
            << "pushupsPerSet" << qint64(150) << minus << qint64(149) << false << true;
    }

    void steppers() {
        QFETCH(QString, key);
        QFETCH(qint64, start);
        QFETCH(QString, button);
        QFETCH(qint64, after);
        const QString stepper = key + QStringLiteral("Stepper/");
        m_state->setProperty(qPrintable(key), start);
        click(stepper + button);
        QCOMPARE(m_state->property(qPrintable(key)).toLongLong(), after);
        QCOMPARE(m_harness->stored(key).toLongLong(), after);
        QCOMPARE(find<QLabel>(stepper + QStringLiteral("valueLabel"))->text(), QString::number(after));
        const auto grey = [&](const char* name) {
            return find<PlainButton>(stepper + QLatin1String(name))->colour() == Palette::mutedGrey;
        };
        QTEST(grey("decrementButton"), "minusGrey");
        QTEST(grey("incrementButton"), "plusGrey");
    }

    void choosingAnExercise() {
        showTab();
        auto* label = find<ExerciseMenu>(QStringLiteral("exerciseMenu"));
        QStringList names;
        for (const QAction* action : label->menu()->actions()) {
            names.append(action->text());
        }
        QCOMPARE(names, exerciseTypes);
        click(QStringLiteral("exerciseMenu"));
        QTRY_VERIFY(label->menu()->isVisible());
        label->menu()->actions().at(exerciseTypes.indexOf(QStringLiteral("Squats")))->trigger();

        QCOMPARE(label->currentExercise(), QStringLiteral("Squats"));
        QCOMPARE(m_harness->stored(QStringLiteral("exerciseType")).toString(), QStringLiteral("Squats"));
    }

    void soundSwitch() {
        click(QStringLiteral("soundSwitch"));
        QVERIFY(!m_state->soundEnabled());
        QCOMPARE(m_harness->stored(QStringLiteral("soundEnabled")).toBool(), false);
        QVERIFY(!isOn("soundSwitch"));
    }

    void launchAtLogin_data() {
        QTest::addColumn<bool>("needsApproval");
        QTest::addRow("takes effect") << false;
        QTest::addRow("awaits approval") << true;
    }

    // The switch shows what the service says, asked afresh when the tab is shown.
    void launchAtLogin() {
        QFETCH(bool, needsApproval);
        m_login.needsApproval = needsApproval;
        click(QStringLiteral("launchAtLoginSwitch"));
        QCOMPARE(m_login.asked, QList<bool>{true});
        QCOMPARE(isOn("launchAtLoginSwitch"), !needsApproval);

        showTab();
        m_tab->hide();
        m_login.enabled = !m_login.enabled; // changed elsewhere, say by the desktop's own settings
        m_tab->show();
        QCOMPARE(isOn("launchAtLoginSwitch"), needsApproval);
    }

    // A path too long for the panel loses its middle, never its ends.
    void longWatchedDirectoryIsElided() {
        qputenv("HOME", "/Users/tester");
        qputenv("CLAUDE_CONFIG_DIR", "/Users/tester/" + QByteArray(200, 'x'));
        makeTab();
        showTab();
        const auto* line = find<WatchedDirectoryLine>(QStringLiteral("watchedDirectory"));
        QCOMPARE(line->path(), "/Users/tester/" + QString(200, QLatin1Char('x')) + "/projects");
        QVERIFY(line->width() <= m_tab->width());
        QCOMPARE(line->height(), line->sizeHint().height());
        const QString shown = line->displayedText();
        QVERIFY2(shown.contains(QChar(0x2026)), qPrintable(shown));
        QVERIFY2(shown.startsWith(QStringLiteral("/Users/")), qPrintable(shown));
        QVERIFY2(shown.endsWith(QStringLiteral("x/projects")), qPrintable(shown));
    }

    // Each assistant whose folder exists gets a line of its own, after Claude Code's, which is always
    // there.
    void everyPresentAssistantIsListed() {
        QVERIFY(QDir(m_harness->home.path()).mkpath(QStringLiteral(".codex")));
        m_state->startWatching();
        QTRY_COMPARE(m_tab->findChildren<WatchedDirectoryLine*>().size(), 2);
        const auto lines = m_tab->findChildren<WatchedDirectoryLine*>();
        QCOMPARE(lines.at(0)->path(), m_harness->home.path() + QStringLiteral("/.claude/projects"));
        QCOMPARE(lines.at(1)->assistant(), QStringLiteral("Codex CLI"));
        QCOMPARE(lines.at(1)->path(), m_harness->home.path() + QStringLiteral("/.codex"));
    }

    void resetClearsAtOnce() {
        m_state->setPromptLimit(1);
        m_state->recordPrompt();
        m_state->recordPrompt();
        m_state->completeSet();
        click(QStringLiteral("resetSessionButton"));
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
        QCOMPARE(m_state->totalRequests(), 0);
        QCOMPARE(m_state->pendingSets(), 0);
        QVERIFY(m_state->completedHistory().isEmpty());
        QCOMPARE(m_state->promptLimit(), 1); // settings stay
    }

    // The donation page opens through the desktop's own opener, which here falls back to $BROWSER.
    void aboutCardShowsTheVersionAndOpensTheDonationPage() {
        showTab();
        QCOMPARE(find<QLabel>(QStringLiteral("aboutCard/versionLabel"))->text(),
                 QStringLiteral("v" ZENTREL_VERSION));
        QTemporaryDir scratch;
        const QString record = scratch.filePath(QStringLiteral("opened.txt"));
        const QString browser = scratch.filePath(QStringLiteral("browser"));
        QVERIFY(writeFile(browser, "#!/bin/sh\nprintf '%s\\n' \"$1\" >> '" + record.toUtf8() + "'\n"));
        QVERIFY(QFile::setPermissions(browser, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        for (const char* variable :
             {"XDG_CURRENT_DESKTOP", "DESKTOP_SESSION", "KDE_FULL_SESSION", "GNOME_DESKTOP_SESSION_ID"}) {
            qunsetenv(variable);
        }
        qputenv("BROWSER", browser.toLocal8Bit());

        click(QStringLiteral("donationButton"));
        QFile opened(record);
        QTRY_VERIFY_WITH_TIMEOUT(opened.exists() && opened.size() > 0, 10000);
        QVERIFY(opened.open(QIODevice::ReadOnly));
        QCOMPARE(opened.readAll(), QByteArray(ZENTREL_DONATION_URL "\n"));
    }

    // Focus moves within the window even while another window is active, so no window manager is
    // needed. No control has a tooltip.
    void tabKeyReachesEveryNamedControl() {
        showTab();
        QSet<QWidget*> reached;
        for (int press = 0; press < 20; ++press) {
            QTest::keyClick(m_tab->focusWidget() ? m_tab->focusWidget() : m_tab.get(), Qt::Key_Tab);
            reached.insert(m_tab->focusWidget());
        }
        for (const char* path :
             {"promptLimitStepper/decrementButton", "promptLimitStepper/incrementButton",
              "pushupsPerSetStepper/decrementButton", "pushupsPerSetStepper/incrementButton", "exerciseMenu",
              "soundSwitch", "launchAtLoginSwitch", "resetSessionButton", "checkForUpdatesButton",
              "donationButton"}) {
            QVERIFY2(reached.contains(find(QLatin1String(path))), path);
            QVERIFY2(!find(QLatin1String(path))->accessibleName().isEmpty(), path);
        }
        for (const QWidget* widget : m_tab->findChildren<QWidget*>()) {
            QVERIFY2(widget->toolTip().isEmpty(), qPrintable(widget->objectName()));
        }
    }
};

QTEST_MAIN(SettingsTabTest)
#include "tst_settingstab.moc"
