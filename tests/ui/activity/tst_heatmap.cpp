#include "ui/activity/HeatmapCalendar.h"
#include "ui/activity/HeatmapCard.h"
#include "ui/kit/Palette.h"

#include <QHelpEvent>
#include <QImage>
#include <QTest>
#include <QToolTip>

using HeatmapCalendar::Column;

namespace {
// The colour a translucent fill leaves on the opaque card beneath it.
QColor over(const QColor& top, const QColor& bottom) {
    const auto blend = [&](double t, double b) { return t * top.alphaF() + b * (1 - top.alphaF()); };
    return QColor::fromRgbF(float(blend(top.redF(), bottom.redF())),
                            float(blend(top.greenF(), bottom.greenF())),
                            float(blend(top.blueF(), bottom.blueF())));
}

bool near(const QColor& a, const QColor& b) {
    constexpr int tolerance = 2;
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}

QColor pixel(const QImage& image, const QRectF& rect) {
    return image.pixelColor(rect.center().toPoint());
}

const QLocale american(QStringLiteral("en_US"));
// Wednesday 11 March 2026: the last column holds Sunday to Wednesday.
const QDateTime wednesday(QDate(2026, 3, 11), QTime(9, 0));
} // namespace

class HeatmapTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Each boundary from both sides.
    void intensityLevel() {
        const QList<QPair<qint64, int>> levels{{0, 0}, {1, 1}, {3, 1},  {4, 2},
                                               {8, 2}, {9, 3}, {15, 3}, {16, 4}};
        for (const auto& [count, level] : levels) {
            QVERIFY2(HeatmapCalendar::intensityLevel(count) == level, qPrintable(QString::number(count)));
        }
    }

    void weeks_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<qsizetype>("lastColumnDays");
        QTest::addColumn<QDate>("firstColumnStart");
        // 8 March 2026 is a Sunday.
        QTest::addRow("Sunday-first, on Sunday")
            << "en_US" << QDateTime(QDate(2026, 3, 8), QTime(0, 0)) << qsizetype(1) << QDate(2026, 1, 4);
        QTest::addRow("across New Year")
            << "en_US" << QDateTime(QDate(2026, 1, 1), QTime(13, 0)) << qsizetype(5) << QDate(2025, 10, 26);
    }

    void weeks() {
        QFETCH(QString, locale);
        QFETCH(QDateTime, now);
        QFETCH(qsizetype, lastColumnDays);
        QFETCH(QDate, firstColumnStart);
        const QList<Column> columns = HeatmapCalendar::heatmapWeeks(now, QLocale(locale).firstDayOfWeek());
        QCOMPARE(columns.size(), 10);
        QCOMPARE(columns.last().size(), lastColumnDays);
        QCOMPARE(columns.last().last(), now.date());
        QDate expected = firstColumnStart;
        for (qsizetype index = 0; index < columns.size(); ++index) {
            if (index + 1 < columns.size()) {
                QCOMPARE(columns[index].size(), 7);
            }
            for (const QDate& day : columns[index]) {
                QCOMPARE(day, expected);
                expected = expected.addDays(1);
            }
        }
    }

    // Columns start on Dec 7, 14, 21, 28, Jan 4, 11, 18, 25, Feb 1 and 8: the 7th still opens a month,
    // the 8th no longer does. The first of January is where a date formatter in the wrong time zone
    // would print the previous year.
    void monthNamedOnItsFirstWeekOnly() {
        HeatmapCard card;
        card.setDays(HeatmapCalendar::heatmapWeeks(QDateTime(QDate(2026, 2, 11), QTime(9, 0)), Qt::Sunday),
                     {}, american);
        const QStringList expected{QStringLiteral("Dec"), {}, {}, {}, QStringLiteral("Jan"), {}, {}, {},
                                   QStringLiteral("Feb"), {}};
        QCOMPARE(card.monthLabels(), expected);
        QCOMPARE(HeatmapCalendar::mediumDate(QDate(2026, 1, 1), QLocale(QStringLiteral("en_GB"))),
                 QStringLiteral("1 Jan 2026"));
    }

    void cardPaintsLevelsPlaceholdersAndSquareCells() {
        HeatmapCard card;
        card.setDays(HeatmapCalendar::heatmapWeeks(wednesday, Qt::Sunday),
                     {{QStringLiteral("2026-03-11"), 16},
                      {QStringLiteral("2026-03-10"), 2},
                      {QStringLiteral("2026-03-08"), 9}},
                     american);
        card.resize(232, card.heightForWidth(232));
        const QImage image = card.grab().toImage();

        QVERIFY(near(pixel(image, card.cellRect(9, 0)),
                     over(Palette::withAlpha(Palette::accentCyan, 0.82), Palette::cardBackground)));
        QVERIFY(near(pixel(image, card.cellRect(9, 1)), Palette::cardHighlight)); // absent from the counts
        QVERIFY(near(pixel(image, card.cellRect(9, 2)),
                     over(Palette::withAlpha(Palette::accentCyan, 0.35), Palette::cardBackground)));
        QVERIFY(near(pixel(image, card.cellRect(9, 3)), Palette::accentCyan));
        QVERIFY(near(pixel(image, card.cellRect(9, 6)), Palette::cardBackground));
        // Cells stay square and the columns share the width, whatever it is.
        card.resize(300, card.heightForWidth(300));
        const QRectF first = card.cellRect(0, 0);
        const QRectF last = card.cellRect(9, 6);
        QCOMPARE(first.width(), first.height());
        QCOMPARE(first.left(), qreal(HeatmapCard::padding));
        QVERIFY(qAbs(last.right() - (300 - HeatmapCard::padding)) < 0.01);
        QVERIFY(last.bottom() <= card.height() - HeatmapCard::padding + 1);
        QVERIFY(card.monthLabelRect(0).bottom() <= first.top() - HeatmapCard::spacing + 0.01);
    }

    void cardTooltips() {
        HeatmapCard card;
        card.setDays(HeatmapCalendar::heatmapWeeks(wednesday, Qt::Sunday),
                     {{QStringLiteral("2026-03-11"), 1}, {QStringLiteral("2026-03-10"), 3}}, american);
        card.resize(232, card.heightForWidth(232));
        const auto at = [&](int column, int row) { return card.cellRect(column, row).center().toPoint(); };
        QCOMPARE(card.tooltipAt(at(9, 3)), QStringLiteral("1 prompt \u2014 Mar 11, 2026"));
        QCOMPARE(card.tooltipAt(at(9, 4)), QString()); // placeholder

        card.show();
        QVERIFY(QTest::qWaitForWindowExposed(&card));
        QHelpEvent help(QEvent::ToolTip, at(9, 2), card.mapToGlobal(at(9, 2)));
        QCoreApplication::sendEvent(&card, &help);
        QTRY_COMPARE(QToolTip::text(), QStringLiteral("3 prompts \u2014 Mar 10, 2026"));
    }
};

QTEST_MAIN(HeatmapTest)
#include "tst_heatmap.moc"
