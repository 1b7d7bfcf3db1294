#include "TrackerHarness.h"
#include "model/CollectionJson.h"
#include "ui/activity/ActivityTab.h"
#include "ui/activity/HeatmapCard.h"
#include "ui/activity/HistoryRow.h"
#include "ui/activity/StatColumn.h"
#include "ui/kit/Palette.h"

#include <QLabel>
#include <QPointer>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <memory>

namespace {
// 14 March 2026, 09:30, a Saturday.
const QDate harnessDay(2026, 3, 14);
} // namespace

class ActivityTabTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TrackerHarness> m_harness;
    std::unique_ptr<TrackerState> m_state;
    std::unique_ptr<ActivityTab> m_tab;

    // A new model on what is stored now, and a new tab showing it.
    void reopen() {
        m_tab.reset();
        m_state.reset();
        m_state = m_harness->makeModel();
        m_tab = std::make_unique<ActivityTab>(*m_state);
    }
    // Clears `sets` owed sets, each of `reps` reps of `exercise`.
    void completeSets(int sets, qint64 reps, const QString& exercise = QStringLiteral("Pushups")) {
        m_state->setPromptLimit(1);
        m_state->setPushupsPerSet(reps);
        m_state->setExerciseType(exercise);
        for (int set = 0; set < sets; ++set) {
            m_state->recordPrompt();
            m_state->completeSet();
        }
    }
    const StatColumn& column(const char* name) const {
        return *m_tab->findChild<StatColumn*>(QLatin1String(name));
    }
    QList<HistoryRow*> rows() const { return m_tab->findChildren<HistoryRow*>(); }
    const HeatmapCard* heatmap() const { return m_tab->findChild<HeatmapCard*>(); }
    void showTab() {
        m_tab->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_tab.get()));
    }

private Q_SLOTS:
    void init() {
        QLocale::setDefault(QLocale(QStringLiteral("en_US")));
        m_harness = std::make_unique<TrackerHarness>();
        reopen();
    }

    void cleanup() {
        m_tab.reset();
        m_state.reset();
        m_harness.reset();
    }

    void historyAndDoneNewestFirst() {
        const auto* empty = m_tab->findChild<QWidget*>(QStringLiteral("emptyHistory"));
        QVERIFY(empty->isVisibleTo(m_tab.get()));
        QCOMPARE(empty->findChild<QLabel*>()->text(), QStringLiteral("No sets completed yet"));

        completeSets(3, 10);
        completeSets(1, 12, QStringLiteral("Bicep Curls"));
        QCOMPARE(column("doneColumn").valueText(), QStringLiteral("42"));
        QCOMPARE(column("totalColumn").valueText(), QStringLiteral("4"));
        QCOMPARE(rows().size(), 4);
        QCOMPARE(rows().first()->summaryText(), QStringLiteral("12 bicep curls"));
        QCOMPARE(rows().last()->summaryText(), QStringLiteral("10 pushups"));
        QVERIFY(!empty->isVisibleTo(m_tab.get()));

        m_state->resetSession();
        QVERIFY(rows().isEmpty());
        QCOMPARE(column("doneColumn").valueText(), QStringLiteral("0"));
        QVERIFY(empty->isVisibleTo(m_tab.get()));
    }

    // Owed sets stand out in red from the first one on.
    void owedTurnsRedFromOne() {
        m_state->setPromptLimit(1);
        m_state->recordPrompt();
        m_state->recordPrompt();
        QCOMPARE(column("owedColumn").valueText(), QStringLiteral("2"));
        for (const QColor& colour : {Palette::alertRed, Palette::alertRed, QColor(Qt::white)}) {
            QCOMPARE(column("owedColumn").valueColour(), colour);
            m_state->completeSet();
        }
    }

    void largeTotalsAreUngroupedAndUnclipped() {
        m_harness->seedStore("totalRequests=123456\npendingSets=999999\n");
        reopen();
        m_tab->resize(280, 600);
        showTab();
        QCOMPARE(column("totalColumn").valueText(), QStringLiteral("123456"));
        const QList<QLabel*> labels =
            m_tab->findChild<QWidget*>(QStringLiteral("totalsCard"))->findChildren<QLabel*>();
        for (const QLabel* label : labels) {
            QVERIFY2(label->width() >= label->sizeHint().width(), qPrintable(label->text()));
        }
    }

    // Today's cell counts each prompt; the weeks start on the locale's first day.
    void heatmapFollowsPromptsAndLocale() {
        m_state->recordPrompt();
        m_state->recordPrompt();
        QCOMPARE(heatmap()->countOn(harnessDay), 2);
        QCOMPARE(heatmap()->weeks().last().first(), QDate(2026, 3, 8)); // Sunday
        QLocale::setDefault(QLocale(QStringLiteral("en_GB")));
        m_tab->refresh();
        QCOMPARE(heatmap()->weeks().last().first(), QDate(2026, 3, 9)); // Monday
    }

    // Reopening the panel on this tab must not tear down and rebuild fifty rows when nothing in
    // them changed; another locale does rebuild them.
    void showingAgainKeepsUnchangedHistoryRows() {
        completeSets(2, 10);
        showTab();
        const QPointer<HistoryRow> first = rows().first();
        QCOMPARE(first->timeText(), QStringLiteral("9:30 AM"));
        m_tab->hide();
        m_tab->show();
        QVERIFY(first);

        m_tab->hide();
        QLocale::setDefault(QLocale(QStringLiteral("de_DE")));
        m_tab->show();
        QVERIFY(!first);
        QCOMPARE(rows().first()->timeText(), QStringLiteral("09:30"));
    }

    void fullHistoryScrolls() {
        const QList<CompletedSet> history = TrackerHarness::sampleHistory(50, m_harness->clock.addDays(-1));
        m_harness->seedStore("completedHistory=" +
                             TrackerHarness::iniBytes(CollectionJson::encodeHistory(history)));
        reopen();
        completeSets(1, 10); // the fifty-first pushes out the oldest
        QScrollArea area;
        area.setWidgetResizable(true);
        area.resize(280, 500);
        area.setWidget(m_tab.release());
        area.show();
        QVERIFY(QTest::qWaitForWindowExposed(&area));
        const QList<HistoryRow*> shown = area.widget()->findChildren<HistoryRow*>();
        QCOMPARE(shown.size(), 50);
        QCOMPARE(shown.last()->entryId(), history.at(48).id);
        QTRY_VERIFY(area.verticalScrollBar()->maximum() > 0);
        const auto* card = area.widget()->findChild<HeatmapCard*>();
        QCOMPARE(card->height(), card->heightForWidth(card->width()));
    }
};

QTEST_MAIN(ActivityTabTest)
#include "tst_activitytab.moc"
