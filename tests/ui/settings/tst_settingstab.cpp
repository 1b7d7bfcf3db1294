#include "ExerciseCatalogue.h"
#include "TrackerHarness.h"
#include "kit/Palette.h"
#include "kit/PanelLabel.h"
#include "kit/PlainButton.h"
#include "settings/ExerciseMenu.h"
#include "settings/SettingsTab.h"
#include "settings/StepperCard.h"
#include "settings/SwitchToggle.h"
#include "settings/WatchedDirectoryLine.h"

#include <QApplication>
#include <QFile>
#include <QMenu>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace {
// What the shell's login-item service would say: whether the entry is on and whether it takes
// a change at once or waits for the user's approval elsewhere.
struct LoginService {
    bool enabled = false;
    bool needsApproval = false;
    int reads = 0;
    QList<bool> requests;

    LaunchAtLoginBinding binding() {
        return {[this] {
                    ++reads;
                    return enabled;
                },
                [this](bool on) {
                    requests.append(on);
                    if (!needsApproval)
                        enabled = on;
                }};
    }
};

const QStringList interactiveNames{
    QStringLiteral("promptLimitStepper/decrementButton"),
    QStringLiteral("promptLimitStepper/incrementButton"),
    QStringLiteral("pushupsPerSetStepper/decrementButton"),
    QStringLiteral("pushupsPerSetStepper/incrementButton"),
    QStringLiteral("exerciseMenu"),
    QStringLiteral("soundSwitch"),
    QStringLiteral("launchAtLoginSwitch"),
    QStringLiteral("resetSessionButton"),
    QStringLiteral("checkForUpdatesButton"),
    QStringLiteral("donationButton"),
};
} // namespace

class SettingsTabTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void defaults();
    void steppers_data();
    void steppers();
    void stepperClicksStepByOne();
    void lowerPromptLimitKeepsOwedSets();
    void menuListsTheCatalogue();
    void choosingSquats();
    void menuByKeyboard();
    void menuShowsUnknownNameUnchanged();
    void soundSwitch();
    void launchAtLogin_data();
    void launchAtLogin();
    void launchAtLoginReadAfreshOnShow();
    void watchedDirectory_data();
    void watchedDirectory();
    void longWatchedDirectoryLosesItsMiddle();
    void resetClearsAtOnce();
    void checkForUpdatesEmitsOnce();
    void donationOpensThePage();
    void everyControlHasNamesAndTakesTabFocus();
    void tabKeyReachesEveryControl();

private:
    void makeTab();
    template <typename T = QWidget> T* find(const QString& path) const;
    void click(const QString& path) const;
    QColor glyphColour(const QString& path) const { return find<PlainButton>(path)->colour(); }

    std::unique_ptr<TrackerHarness> m_harness;
    std::unique_ptr<TrackerState> m_state;
    LoginService m_login;
    std::unique_ptr<SettingsTab> m_tab;
};

void SettingsTabTest::init() {
    m_harness = std::make_unique<TrackerHarness>();
    m_login = LoginService();
    makeTab();
}

void SettingsTabTest::cleanup() {
    m_tab.reset();
    m_state.reset();
    m_harness.reset(); // puts HOME back
    qunsetenv("CLAUDE_CONFIG_DIR");
    QCoreApplication::setApplicationVersion(QString());
}

void SettingsTabTest::makeTab() {
    m_tab.reset();
    m_state = m_harness->makeModel();
    m_tab = std::make_unique<SettingsTab>(*m_state, m_login.binding());
    m_tab->resize(280, 700);
}

// A path is object names from the tab down, separated by slashes.
template <typename T> T* SettingsTabTest::find(const QString& path) const {
    QObject* node = m_tab.get();
    for (const QString& name : path.split(QLatin1Char('/'))) {
        node = node ? node->findChild<QObject*>(name) : nullptr;
    }
    return qobject_cast<T*>(node);
}

void SettingsTabTest::click(const QString& path) const {
    auto* widget = find(path);
    QVERIFY2(widget, qPrintable(path));
    QTest::mouseClick(widget, Qt::LeftButton, {}, widget->rect().center());
}

void SettingsTabTest::defaults() {
    for (const char* stepper : {"promptLimitStepper", "pushupsPerSetStepper"}) {
        const QString name = QLatin1String(stepper);
        QCOMPARE(find<QLabel>(name + QStringLiteral("/valueLabel"))->text(), QStringLiteral("10"));
        QCOMPARE(glyphColour(name + QStringLiteral("/decrementButton")), QColor(Qt::white));
        QCOMPARE(glyphColour(name + QStringLiteral("/incrementButton")), QColor(Qt::white));
    }
    QCOMPARE(find<ExerciseMenu>(QStringLiteral("exerciseMenu"))->currentExercise(),
             QStringLiteral("Pushups"));
    QVERIFY(find<SwitchToggle>(QStringLiteral("soundSwitch"))->isChecked());
    QVERIFY(!find<SwitchToggle>(QStringLiteral("launchAtLoginSwitch"))->isChecked());
}

void SettingsTabTest::steppers_data() {
    QTest::addColumn<QString>("stepper");
    QTest::addColumn<QString>("key");
    QTest::addColumn<qint64>("start");
    QTest::addColumn<QString>("button");
    QTest::addColumn<qint64>("after");
    QTest::addColumn<bool>("minusGrey");
    QTest::addColumn<bool>("plusGrey");

    const QString minus = QStringLiteral("decrementButton");
    const QString plus = QStringLiteral("incrementButton");
    for (const auto& [stepper, key] : {std::pair{"promptLimitStepper", "promptLimit"},
                                       std::pair{"pushupsPerSetStepper", "pushupsPerSet"}}) {
        const auto row = [&](const char* name) -> QTestData& {
            return QTest::addRow("%s: %s", stepper, name) << stepper << key;
        };
        row("1 minus") << qint64(1) << minus << qint64(1) << true << false;
        row("2 minus") << qint64(2) << minus << qint64(1) << true << false;
        row("2 plus") << qint64(2) << plus << qint64(3) << false << false;
        row("99 plus") << qint64(99) << plus << qint64(100) << false << true;
        row("100 plus") << qint64(100) << plus << qint64(100) << false << true;
        row("100 minus") << qint64(100) << minus << qint64(99) << false << false;
        row("150 plus") << qint64(150) << plus << qint64(150) << false << true;
        row("150 minus") << qint64(150) << minus << qint64(149) << false << true;
        row("0 minus") << qint64(0) << minus << qint64(0) << true << false;
    }
}

void SettingsTabTest::steppers() {
    QFETCH(QString, stepper);
    QFETCH(QString, key);
    QFETCH(qint64, start);
    QFETCH(QString, button);
    QFETCH(qint64, after);
    QFETCH(bool, minusGrey);
    QFETCH(bool, plusGrey);

    m_state->setProperty(qPrintable(key), start);
    QCOMPARE(find<QLabel>(stepper + QStringLiteral("/valueLabel"))->text(), QString::number(start));
    click(stepper + QLatin1Char('/') + button);

    QCOMPARE(m_state->property(qPrintable(key)).toLongLong(), after);
    QCOMPARE(m_harness->stored(key).toLongLong(), after);
    QCOMPARE(find<QLabel>(stepper + QStringLiteral("/valueLabel"))->text(), QString::number(after));
    const auto colour = [](bool grey) { return grey ? Palette::mutedGrey : QColor(Qt::white); };
    QCOMPARE(glyphColour(stepper + QStringLiteral("/decrementButton")), colour(minusGrey));
    QCOMPARE(glyphColour(stepper + QStringLiteral("/incrementButton")), colour(plusGrey));
}

void SettingsTabTest::stepperClicksStepByOne() {
    click(QStringLiteral("pushupsPerSetStepper/incrementButton"));
    click(QStringLiteral("pushupsPerSetStepper/incrementButton"));
    QCOMPARE(m_state->pushupsPerSet(), 12);
    auto* minus = find(QStringLiteral("promptLimitStepper/decrementButton"));
    minus->setFocus();
    QTest::keyClick(minus, Qt::Key_Space);
    QCOMPARE(m_state->promptLimit(), 9);
    QCOMPARE(m_state->pushupsPerSet(), 12);
}

void SettingsTabTest::lowerPromptLimitKeepsOwedSets() {
    for (int prompt = 0; prompt < 7; ++prompt)
        m_state->recordPrompt();
    for (int step = 0; step < 5; ++step)
        click(QStringLiteral("promptLimitStepper/decrementButton"));
    QCOMPARE(m_state->promptLimit(), 5);
    QCOMPARE(m_state->pendingSets(), 0);
    QCOMPARE(m_state->promptsThisSet(), 2);
}

void SettingsTabTest::menuListsTheCatalogue() {
    const QMenu* menu = find<ExerciseMenu>(QStringLiteral("exerciseMenu"))->menu();
    QStringList names;
    const QList<QAction*> actions = menu->actions();
    for (const QAction* action : actions) {
        names.append(action->text());
        QVERIFY(!action->isCheckable());
        QVERIFY(action->icon().isNull());
    }
    QCOMPARE(names, (QStringList{"Pushups", "Sit-ups", "Squats", "Walking", "Bicep Curls", "Sudoku",
                                 "Crossword", "Brain Teaser"}));
}

void SettingsTabTest::choosingSquats() {
    m_tab->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_tab.get()));
    auto* label = find<ExerciseMenu>(QStringLiteral("exerciseMenu"));
    click(QStringLiteral("exerciseMenu"));
    QTRY_VERIFY(label->menu()->isVisible());
    label->menu()->actions().at(exerciseTypes.indexOf(QStringLiteral("Squats")))->trigger();

    QCOMPARE(label->currentExercise(), QStringLiteral("Squats"));
    QCOMPARE(m_harness->stored(QStringLiteral("exerciseType")).toString(), QStringLiteral("Squats"));
    m_state->setPromptLimit(1);
    m_state->recordPrompt();
    QCOMPARE(m_harness->alerts().size(), 1);
    QVERIFY2(m_harness->alerts().last().at(0).toString().contains(QStringLiteral("Squats")),
             qPrintable(m_harness->alerts().last().at(0).toString()));
}

void SettingsTabTest::menuByKeyboard() {
    m_tab->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_tab.get()));
    auto* label = find<ExerciseMenu>(QStringLiteral("exerciseMenu"));
    QTest::keyClick(label, Qt::Key_Space);
    QTRY_VERIFY(label->menu()->isVisible());
    for (int step = 0; step < 5; ++step) // the first press selects "Pushups"
        QTest::keyClick(label->menu(), Qt::Key_Down);
    QTest::keyClick(label->menu(), Qt::Key_Return);
    QTRY_COMPARE(m_state->exerciseType(), QStringLiteral("Bicep Curls"));
    QCOMPARE(label->currentExercise(), QStringLiteral("Bicep Curls"));
}

void SettingsTabTest::menuShowsUnknownNameUnchanged() {
    m_state->setExerciseType(QStringLiteral("Jumping Jacks"));
    QCOMPARE(find<ExerciseMenu>(QStringLiteral("exerciseMenu"))->currentExercise(),
             QStringLiteral("Jumping Jacks"));
}

void SettingsTabTest::soundSwitch() {
    click(QStringLiteral("soundSwitch"));
    QVERIFY(!m_state->soundEnabled());
    QCOMPARE(m_harness->stored(QStringLiteral("soundEnabled")).toBool(), false);
    QVERIFY(!find<SwitchToggle>(QStringLiteral("soundSwitch"))->isChecked());
    m_state->setPromptLimit(1);
    m_state->recordPrompt();
    QCOMPARE(m_harness->alerts().last().at(2).toBool(), false);

    m_state->setSoundEnabled(true);
    QVERIFY(find<SwitchToggle>(QStringLiteral("soundSwitch"))->isChecked());
}

void SettingsTabTest::launchAtLogin_data() {
    QTest::addColumn<bool>("needsApproval");
    QTest::addColumn<bool>("shownAfter");
    QTest::addRow("takes effect") << false << true;
    QTest::addRow("awaits approval") << true << false;
}

void SettingsTabTest::launchAtLogin() {
    QFETCH(bool, needsApproval);
    QFETCH(bool, shownAfter);
    m_login.needsApproval = needsApproval;
    click(QStringLiteral("launchAtLoginSwitch"));
    QCOMPARE(m_login.requests, QList<bool>{true});
    QCOMPARE(find<SwitchToggle>(QStringLiteral("launchAtLoginSwitch"))->isChecked(), shownAfter);
}

void SettingsTabTest::launchAtLoginReadAfreshOnShow() {
    auto* toggle = find<SwitchToggle>(QStringLiteral("launchAtLoginSwitch"));
    m_tab->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_tab.get()));
    QVERIFY(!toggle->isChecked());
    m_tab->hide();
    m_login.enabled = true; // turned on elsewhere, say by the desktop's own settings
    const int readsBefore = m_login.reads;
    m_tab->show();
    QVERIFY(m_login.reads > readsBefore);
    QVERIFY(toggle->isChecked());

    m_login.enabled = false;
    m_state->setPushupsPerSet(20); // any change of the model redraws the tab
    QVERIFY(!toggle->isChecked());
    click(QStringLiteral("launchAtLoginSwitch"));
    QCOMPARE(m_login.requests, QList<bool>{true});
    QVERIFY(toggle->isChecked());
}

void SettingsTabTest::watchedDirectory_data() {
    QTest::addColumn<QByteArray>("configDir");
    QTest::addColumn<QString>("path");
    QTest::addRow("home") << QByteArray() << QStringLiteral("/Users/tester/.claude/projects");
    QTest::addRow("relocated") << QByteArray("/Users/tester/.config/assistant")
                               << QStringLiteral("/Users/tester/.config/assistant/projects");
}

void SettingsTabTest::watchedDirectory() {
    QFETCH(QByteArray, configDir);
    QFETCH(QString, path);
    qputenv("HOME", "/Users/tester");
    qputenv("CLAUDE_CONFIG_DIR", configDir);
    makeTab();
    m_tab->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_tab.get()));
    const auto* line = find<WatchedDirectoryLine>(QStringLiteral("watchedDirectory"));
    QCOMPARE(line->path(), path);
    QCOMPARE(line->displayedText(), path);
    QCOMPARE(line->height(), line->sizeHint().height());
}

void SettingsTabTest::longWatchedDirectoryLosesItsMiddle() {
    qputenv("CLAUDE_CONFIG_DIR", "/home/tester/" + QByteArray(200, 'x'));
    makeTab();
    m_tab->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_tab.get()));

    const auto* line = find<WatchedDirectoryLine>(QStringLiteral("watchedDirectory"));
    QCOMPARE(line->path(),
             QStringLiteral("/home/tester/") + QString(200, QLatin1Char('x')) + QStringLiteral("/projects"));
    QVERIFY(line->width() <= m_tab->width());
    const QString shown = line->displayedText();
    QVERIFY2(shown.contains(QChar(0x2026)), qPrintable(shown));
    QVERIFY2(shown.startsWith(QStringLiteral("/home/")), qPrintable(shown));
    QVERIFY2(shown.endsWith(QStringLiteral("x/projects")), qPrintable(shown));
    QCOMPARE(line->height(), line->sizeHint().height());
}

void SettingsTabTest::resetClearsAtOnce() {
    m_state->setPromptLimit(1);
    for (int prompt = 0; prompt < 3; ++prompt)
        m_state->recordPrompt();
    m_state->completeSet();
    QCOMPARE(m_state->completedHistory().size(), 1);

    click(QStringLiteral("resetSessionButton"));
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
    QCOMPARE(m_state->totalRequests(), 0);
    QCOMPARE(m_state->pendingSets(), 0);
    QVERIFY(m_state->completedHistory().isEmpty());
    QCOMPARE(m_harness->stored(QStringLiteral("totalRequests")).toLongLong(), 0);
    QCOMPARE(m_harness->stored(QStringLiteral("pendingSets")).toLongLong(), 0);
    QCOMPARE(m_state->promptLimit(), 1); // settings stay
}

void SettingsTabTest::checkForUpdatesEmitsOnce() {
    QSignalSpy requested(m_tab.get(), &SettingsTab::checkForUpdatesRequested);
    click(QStringLiteral("checkForUpdatesButton"));
    QCOMPARE(requested.size(), 1);
}

// The page opens through the desktop's own opener, which here falls back to $BROWSER.
void SettingsTabTest::donationOpensThePage() {
    QTemporaryDir scratch;
    const QString record = scratch.filePath(QStringLiteral("opened.txt"));
    const QString browser = scratch.filePath(QStringLiteral("browser"));
    QFile script(browser);
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\nprintf '%s\\n' \"$1\" >> '" + record.toUtf8() + "'\n");
    script.close();
    QVERIFY(script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    for (const char* variable :
         {"XDG_CURRENT_DESKTOP", "DESKTOP_SESSION", "KDE_FULL_SESSION", "GNOME_DESKTOP_SESSION_ID"})
        qunsetenv(variable);
    qputenv("BROWSER", browser.toLocal8Bit());

    click(QStringLiteral("donationButton"));
    QFile opened(record);
    QTRY_VERIFY_WITH_TIMEOUT(opened.exists() && opened.size() > 0, 10000);
    QVERIFY(opened.open(QIODevice::ReadOnly));
    QCOMPARE(opened.readAll(), QByteArray(ZENTREL_DONATION_URL "\n"));
}

void SettingsTabTest::everyControlHasNamesAndTakesTabFocus() {
    for (const QString& path : interactiveNames) {
        const QWidget* widget = find(path);
        QVERIFY2(widget, qPrintable(path));
        QVERIFY2(!widget->accessibleName().isEmpty(), qPrintable(path));
        QVERIFY2(widget->focusPolicy() & Qt::TabFocus, qPrintable(path));
    }
    const QList<QWidget*> all = m_tab->findChildren<QWidget*>();
    for (const QWidget* widget : all)
        QVERIFY2(widget->toolTip().isEmpty(), qPrintable(widget->objectName()));
}

// Focus moves within the window even while another window is active, so no window manager is needed.
void SettingsTabTest::tabKeyReachesEveryControl() {
    m_tab->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_tab.get()));
    QSet<QWidget*> reached;
    QWidget* current = m_tab.get();
    for (int press = 0; press < 2 * int(interactiveNames.size()); ++press) {
        QTest::keyClick(current, Qt::Key_Tab);
        current = m_tab->focusWidget();
        QVERIFY(current);
        reached.insert(current);
    }
    for (const QString& path : interactiveNames)
        QVERIFY2(reached.contains(find(path)), qPrintable(path));
}

QTEST_MAIN(SettingsTabTest)
#include "tst_settingstab.moc"
