#include "TrackerHarness.h"
#include "activity/ActivityTab.h"
#include "activity/HeatmapCard.h"
#include "activity/HistoryRow.h"
#include "activity/StatColumn.h"
#include "kit/Divider.h"
#include "kit/Palette.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLabel>
#include <QPointer>
#include <QScrollArea>
#include <QScrollBar>
#include <QSettings>
#include <QTest>
#include <memory>

namespace {
// 14 March 2026, 09:30, a Saturday.
const QDate harnessDay(2026, 3, 14);
} // namespace

class ActivityTabTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void emptyHistory();
    void doneSumsTheHistoryNewestFirst();
    void historyRowText_data();
    void historyRowText();
    void owedColour_data();
    void owedColour();
    void largeTotalsAreUngroupedAndUnclipped();
    void heatmapFollowsPrompts();
    void heatmapStartsOnTheLocalesFirstWeekday();
    void showingAgainCatchesUpWithTheClock();
    void showingAgainKeepsUnchangedHistoryRows();
    void longHistoryScrolls();

private:
    void seedHistory(int sets, qint64 reps);
    // Clears `sets` owed sets, each of `reps` repetitions of `exercise`.
    void completeSets(int sets, qint64 reps, const QString& exercise = QStringLiteral("Pushups"));
    const StatColumn& column(const char* name) const;
    QList<HistoryRow*> rows() const;

    std::unique_ptr<TrackerHarness> m_harness;
    std::unique_ptr<TrackerState> m_state;
    std::unique_ptr<ActivityTab> m_tab;
};

void ActivityTabTest::init() {
    QLocale::setDefault(QLocale(QStringLiteral("en_US")));
    m_harness = std::make_unique<TrackerHarness>();
    m_state = m_harness->makeModel();
    m_tab = std::make_unique<ActivityTab>(*m_state);
}

void ActivityTabTest::cleanup() {
    m_tab.reset();
    m_state.reset();
    m_harness.reset();
}

// Written straight into the store: clearing fifty sets one by one would cost fifty synced writes.
void ActivityTabTest::seedHistory(int sets, qint64 reps) {
    QJsonArray entries;
    for (int set = 0; set < sets; ++set)
        entries.append(CompletedSet{QUuid::createUuid(), m_harness->clock.addSecs(-60 * set), reps,
                                    QStringLiteral("Pushups")}
                           .toJson());
    QDir().mkpath(QFileInfo(m_harness->storePath()).absolutePath());
    QSettings store(m_harness->storePath(), QSettings::IniFormat);
    store.setValue(QStringLiteral("completedHistory"), QJsonDocument(entries).toJson(QJsonDocument::Compact));
}

void ActivityTabTest::completeSets(int sets, qint64 reps, const QString& exercise) {
    m_state->setPromptLimit(1);
    m_state->setPushupsPerSet(reps);
    m_state->setExerciseType(exercise);
    for (int set = 0; set < sets; ++set) {
        m_state->recordPrompt();
        m_state->completeSet();
    }
}

const StatColumn& ActivityTabTest::column(const char* name) const {
    const auto* found = m_tab->findChild<StatColumn*>(QLatin1String(name));
    Q_ASSERT(found);
    return *found;
}

QList<HistoryRow*> ActivityTabTest::rows() const {
    return m_tab->findChildren<HistoryRow*>();
}

void ActivityTabTest::emptyHistory() {
    const auto* empty = m_tab->findChild<QWidget*>(QStringLiteral("emptyHistory"));
    QVERIFY(empty);
    QVERIFY(empty->isVisibleTo(m_tab.get()));
    QVERIFY(empty->findChild<QLabel*>());
    QCOMPARE(empty->findChild<QLabel*>()->text(), QStringLiteral("No sets completed yet"));
    QVERIFY(rows().isEmpty());
    QCOMPARE(column("doneColumn").valueText(), QStringLiteral("0"));
    QCOMPARE(column("totalColumn").caption(), QStringLiteral("TOTAL"));
    QCOMPARE(column("doneColumn").caption(), QStringLiteral("DONE"));
    QCOMPARE(column("owedColumn").caption(), QStringLiteral("OWED"));
}

void ActivityTabTest::doneSumsTheHistoryNewestFirst() {
    completeSets(3, 10);
    completeSets(1, 15, QStringLiteral("Squats"));

    QCOMPARE(column("doneColumn").valueText(), QStringLiteral("45"));
    QCOMPARE(column("totalColumn").valueText(), QStringLiteral("4"));
    const QList<HistoryRow*> shown = rows();
    QCOMPARE(shown.size(), 4);
    QCOMPARE(shown.first()->summaryText(), QStringLiteral("15 squats"));
    QCOMPARE(shown.first()->entryId(), m_state->completedHistory().first().id);
    QCOMPARE(shown.last()->summaryText(), QStringLiteral("10 pushups"));
    QCOMPARE(m_tab->findChild<QWidget*>(QStringLiteral("historyRows"))->findChildren<Divider*>().size(), 3);
    QVERIFY(!m_tab->findChild<QWidget*>(QStringLiteral("emptyHistory"))->isVisibleTo(m_tab.get()));

    m_state->resetSession();
    QVERIFY(rows().isEmpty());
    QCOMPARE(column("doneColumn").valueText(), QStringLiteral("0"));
}

void ActivityTabTest::historyRowText_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("exercise");
    QTest::addColumn<qint64>("reps");
    QTest::addColumn<QString>("summary");
    QTest::addColumn<QString>("time");
    QTest::addRow("en_US") << "en_US"
                           << "Bicep Curls" << qint64(12) << "12 bicep curls"
                           << "9:30 AM";
    QTest::addRow("de_DE") << "de_DE"
                           << "Sit-ups" << qint64(10) << "10 sit-ups"
                           << "09:30";
}

void ActivityTabTest::historyRowText() {
    QFETCH(QString, locale);
    QFETCH(QString, exercise);
    QFETCH(qint64, reps);
    QFETCH(QString, summary);
    QFETCH(QString, time);
    QLocale::setDefault(QLocale(locale));
    completeSets(1, reps, exercise);
    QCOMPARE(rows().size(), 1);
    QCOMPARE(rows().first()->summaryText(), summary);
    QCOMPARE(rows().first()->timeText(), time);
}

void ActivityTabTest::owedColour_data() {
    QTest::addColumn<int>("owed");
    QTest::addColumn<QColor>("colour");
    QTest::addRow("none") << 0 << QColor(Qt::white);
    QTest::addRow("one") << 1 << Palette::alertRed;
    QTest::addRow("two") << 2 << Palette::alertRed;
}

void ActivityTabTest::owedColour() {
    QFETCH(int, owed);
    QFETCH(QColor, colour);
    m_state->setPromptLimit(1);
    for (int prompt = 0; prompt < owed; ++prompt)
        m_state->recordPrompt();
    QCOMPARE(column("owedColumn").valueText(), QString::number(owed));
    QCOMPARE(column("owedColumn").valueColour(), colour);
    QCOMPARE(column("totalColumn").valueColour(), QColor(Qt::white));

    m_state->completeSet();
    QCOMPARE(column("owedColumn").valueColour(), owed > 1 ? Palette::alertRed : QColor(Qt::white));
}

void ActivityTabTest::largeTotalsAreUngroupedAndUnclipped() {
    m_tab.reset();
    m_state.reset();
    m_harness->seedStore("totalRequests=123456\npendingSets=999999\n");
    m_state = m_harness->makeModel();
    m_tab = std::make_unique<ActivityTab>(*m_state);
    m_tab->resize(280, 600);
    m_tab->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_tab.get()));

    QCOMPARE(column("totalColumn").valueText(), QStringLiteral("123456"));
    QCOMPARE(column("owedColumn").valueText(), QStringLiteral("999999"));
    const QList<QLabel*> labels =
        m_tab->findChild<QWidget*>(QStringLiteral("totalsCard"))->findChildren<QLabel*>();
    for (const QLabel* label : labels)
        QVERIFY2(label->width() >= label->sizeHint().width(), qPrintable(label->text()));
}

void ActivityTabTest::heatmapFollowsPrompts() {
    const auto* heatmap = m_tab->findChild<HeatmapCard*>(QStringLiteral("heatmapCard"));
    QVERIFY(heatmap);
    QCOMPARE(heatmap->countOn(harnessDay), 0);
    for (int prompt = 0; prompt < 3; ++prompt)
        m_state->recordPrompt();
    QCOMPARE(heatmap->countOn(harnessDay), 3);
    QCOMPARE(column("totalColumn").valueText(), QStringLiteral("3"));
}

void ActivityTabTest::heatmapStartsOnTheLocalesFirstWeekday() {
    const auto* heatmap = m_tab->findChild<HeatmapCard*>(QStringLiteral("heatmapCard"));
    QCOMPARE(heatmap->weeks().last().first(), QDate(2026, 3, 8)); // Sunday
    QCOMPARE(heatmap->weeks().last().size(), 7);

    QLocale::setDefault(QLocale(QStringLiteral("en_GB")));
    m_tab->refresh();
    QCOMPARE(heatmap->weeks().last().first(), QDate(2026, 3, 9)); // Monday
    QCOMPARE(heatmap->weeks().last().size(), 6);
}

void ActivityTabTest::showingAgainCatchesUpWithTheClock() {
    const auto* heatmap = m_tab->findChild<HeatmapCard*>(QStringLiteral("heatmapCard"));
    m_tab->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_tab.get()));
    m_tab->hide();
    m_harness->clock = m_harness->clock.addDays(2);
    QCOMPARE(heatmap->weeks().last().last(), harnessDay);

    m_tab->show();
    QCOMPARE(heatmap->weeks().last().last(), harnessDay.addDays(2));
    QCOMPARE(heatmap->weeks().last().size(), 2);
    QCOMPARE(heatmap->weeks().first().first(), QDate(2026, 1, 11));
}

// Reopening the panel on this tab must not tear down and rebuild fifty rows when nothing in them
// changed; a new entry or another locale does rebuild them.
void ActivityTabTest::showingAgainKeepsUnchangedHistoryRows() {
    completeSets(2, 10);
    m_tab->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_tab.get()));
    QList<QPointer<HistoryRow>> before;
    for (HistoryRow* row : rows())
        before.append(row);
    QCOMPARE(before.size(), 2);

    m_tab->hide();
    m_tab->show();
    QCOMPARE(rows().size(), 2);
    for (const QPointer<HistoryRow>& row : before) {
        QVERIFY(row);
        QVERIFY(rows().contains(row.data()));
    }
    QCOMPARE(before.first()->timeText(), QStringLiteral("9:30 AM"));

    m_tab->hide();
    QLocale::setDefault(QLocale(QStringLiteral("de_DE")));
    m_tab->show();
    QCOMPARE(rows().size(), 2);
    QVERIFY(!before.first());
    QCOMPARE(rows().first()->timeText(), QStringLiteral("09:30"));

    completeSets(1, 15);
    QCOMPARE(rows().size(), 3);
    QCOMPARE(rows().first()->summaryText(), QStringLiteral("15 pushups"));
}

void ActivityTabTest::longHistoryScrolls() {
    QScrollArea area;
    area.setWidgetResizable(true);
    area.resize(280, 500);
    area.setWidget(m_tab.release());
    area.show();
    QVERIFY(QTest::qWaitForWindowExposed(&area));
    QTRY_COMPARE(area.verticalScrollBar()->maximum(), 0);

    delete area.takeWidget();
    m_state.reset();
    seedHistory(TrackerState::historyLimit, 10);
    m_state = m_harness->makeModel();
    area.setWidget(new ActivityTab(*m_state));
    QCOMPARE(area.widget()->findChildren<HistoryRow*>().size(), TrackerState::historyLimit);
    QTRY_VERIFY(area.verticalScrollBar()->maximum() > 0);
    const auto* heatmap = area.widget()->findChild<HeatmapCard*>(QStringLiteral("heatmapCard"));
    QCOMPARE(heatmap->height(), heatmap->heightForWidth(heatmap->width()));
    QCOMPARE(area.widget()->findChild<StatColumn*>(QStringLiteral("doneColumn"))->valueText(),
             QStringLiteral("500"));
}

QTEST_MAIN(ActivityTabTest)
#include "tst_activitytab.moc"
