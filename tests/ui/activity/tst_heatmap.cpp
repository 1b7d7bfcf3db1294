#include "activity/HeatmapCalendar.h"
#include "activity/HeatmapCard.h"
#include "activity/HeatmapLegend.h"
#include "kit/Palette.h"

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
} // namespace

class HeatmapTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void intensityLevel_data();
    void intensityLevel();
    void levelColour_data();
    void levelColour();
    void tooltipWords_data();
    void tooltipWords();
    void tooltipInAmericanEnglish();
    void mediumDateFollowsLocale_data();
    void mediumDateFollowsLocale();
    void weeks_data();
    void weeks();
    void monthLabel_data();
    void monthLabel();
    void cardNamesEachMonthOnce();
    void cardPaintsLevelsAndPlaceholders();
    void cardCellsAreSquareAndShareTheWidth();
    void cardTooltips();
    void legendOrder();
};

void HeatmapTest::intensityLevel_data() {
    QTest::addColumn<qint64>("count");
    QTest::addColumn<int>("level");
    const QList<QPair<qint64, int>> rows{{0, 0}, {1, 1},  {3, 1},  {4, 2},   {8, 2},
                                         {9, 3}, {15, 3}, {16, 4}, {5000, 4}};
    for (const auto& [count, level] : rows)
        QTest::addRow("%lld", count) << count << level;
}

void HeatmapTest::intensityLevel() {
    QFETCH(qint64, count);
    QFETCH(int, level);
    QCOMPARE(HeatmapCalendar::intensityLevel(count), level);
}

void HeatmapTest::levelColour_data() {
    QTest::addColumn<int>("level");
    QTest::addColumn<QColor>("colour");
    QTest::addRow("none") << 0 << Palette::cardHighlight;
    QTest::addRow("1-3") << 1 << Palette::withAlpha(Palette::accentCyan, 0.35);
    QTest::addRow("4-8") << 2 << Palette::withAlpha(Palette::accentCyan, 0.6);
    QTest::addRow("9-15") << 3 << Palette::withAlpha(Palette::accentCyan, 0.82);
    QTest::addRow("16+") << 4 << Palette::accentCyan;
}

void HeatmapTest::levelColour() {
    QFETCH(int, level);
    QFETCH(QColor, colour);
    QCOMPARE(HeatmapCalendar::levelColour(level), colour);
}

void HeatmapTest::tooltipWords_data() {
    QTest::addColumn<qint64>("count");
    QTest::addColumn<QString>("prefix");
    QTest::addRow("none") << qint64(0) << QStringLiteral("0 prompts \u2014 ");
    QTest::addRow("one") << qint64(1) << QStringLiteral("1 prompt \u2014 ");
    QTest::addRow("two") << qint64(2) << QStringLiteral("2 prompts \u2014 ");
}

void HeatmapTest::tooltipWords() {
    QFETCH(qint64, count);
    QFETCH(QString, prefix);
    const QDate day(2026, 7, 19);
    QCOMPARE(HeatmapCalendar::dayTooltip(count, day, american),
             prefix + HeatmapCalendar::mediumDate(day, american));
}

void HeatmapTest::tooltipInAmericanEnglish() {
    QCOMPARE(HeatmapCalendar::dayTooltip(3, QDate(2026, 12, 5), american),
             QStringLiteral("3 prompts \u2014 Dec 5, 2026"));
}

void HeatmapTest::mediumDateFollowsLocale_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("text");
    QTest::addRow("en_US") << QStringLiteral("en_US") << QStringLiteral("Jan 1, 2026");
    QTest::addRow("en_GB") << QStringLiteral("en_GB") << QStringLiteral("1 Jan 2026");
    QTest::addRow("de_DE") << QStringLiteral("de_DE") << QStringLiteral("01.01.2026");
}

// The first of January is where a formatter in the wrong time zone would print the previous year.
void HeatmapTest::mediumDateFollowsLocale() {
    QFETCH(QString, locale);
    QFETCH(QString, text);
    QCOMPARE(HeatmapCalendar::mediumDate(QDate(2026, 1, 1), QLocale(locale)), text);
}

void HeatmapTest::weeks_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QDateTime>("now");
    QTest::addColumn<qsizetype>("lastColumnDays");
    QTest::addColumn<QDate>("firstColumnStart");

    // 8 March 2026 is a Sunday.
    const auto at = [](int month, int day, QTime time = QTime(13, 0)) {
        return QDateTime(QDate(2026, month, day), time);
    };
    QTest::addRow("Sunday-first, on Sunday") << "en_US" << at(3, 8) << qsizetype(1) << QDate(2026, 1, 4);
    QTest::addRow("Sunday-first, on Wednesday") << "en_US" << at(3, 11) << qsizetype(4) << QDate(2026, 1, 4);
    QTest::addRow("Sunday-first, on Saturday") << "en_US" << at(3, 14) << qsizetype(7) << QDate(2026, 1, 4);
    QTest::addRow("Sunday-first, at midnight")
        << "en_US" << at(3, 10, QTime(0, 0)) << qsizetype(3) << QDate(2026, 1, 4);
    QTest::addRow("Sunday-first, across new year")
        << "en_US" << at(1, 1) << qsizetype(5) << QDate(2025, 10, 26);
    QTest::addRow("Monday-first, on Sunday") << "en_GB" << at(3, 8) << qsizetype(7) << QDate(2025, 12, 29);
    QTest::addRow("Monday-first, on Monday") << "en_GB" << at(3, 9) << qsizetype(1) << QDate(2026, 1, 5);
    QTest::addRow("Monday-first, on Wednesday")
        << "de_DE" << at(3, 11, QTime(23, 59)) << qsizetype(3) << QDate(2026, 1, 5);
}

void HeatmapTest::weeks() {
    QFETCH(QString, locale);
    QFETCH(QDateTime, now);
    QFETCH(qsizetype, lastColumnDays);
    QFETCH(QDate, firstColumnStart);

    const QList<Column> columns = HeatmapCalendar::heatmapWeeks(now, QLocale(locale).firstDayOfWeek());
    QCOMPARE(columns.size(), 10);
    QCOMPARE(columns.first().first(), firstColumnStart);
    QCOMPARE(columns.last().size(), lastColumnDays);
    QCOMPARE(columns.last().last(), now.date());
    QDate expected = firstColumnStart;
    for (qsizetype index = 0; index < columns.size(); ++index) {
        if (index + 1 < columns.size())
            QCOMPARE(columns[index].size(), 7);
        for (const QDate& day : columns[index]) {
            QCOMPARE(day, expected);
            expected = expected.addDays(1);
        }
    }
}

void HeatmapTest::monthLabel_data() {
    QTest::addColumn<QDate>("firstDay");
    QTest::addColumn<QString>("label");
    QTest::addRow("1st") << QDate(2026, 3, 1) << QStringLiteral("Mar");
    QTest::addRow("7th") << QDate(2026, 3, 7) << QStringLiteral("Mar");
    QTest::addRow("8th") << QDate(2026, 3, 8) << QString();
    QTest::addRow("28th") << QDate(2026, 2, 28) << QString();
}

void HeatmapTest::monthLabel() {
    QFETCH(QDate, firstDay);
    QFETCH(QString, label);
    const Column column{firstDay, firstDay.addDays(1), firstDay.addDays(2)};
    QCOMPARE(HeatmapCalendar::monthLabel(column, american), label);
}

void HeatmapTest::cardNamesEachMonthOnce() {
    HeatmapCard card;
    card.setDays(HeatmapCalendar::heatmapWeeks(QDateTime(QDate(2026, 3, 11), QTime(9, 0)), Qt::Sunday), {},
                 american);
    // Columns start on Jan 4, 11, 18, 25, Feb 1, 8, 15, 22, Mar 1 and 8.
    const QStringList expected{QStringLiteral("Jan"), {}, {}, {}, QStringLiteral("Feb"), {}, {}, {},
                               QStringLiteral("Mar"), {}};
    QCOMPARE(card.monthLabels(), expected);
}

void HeatmapTest::cardPaintsLevelsAndPlaceholders() {
    HeatmapCard card;
    const QDateTime now(QDate(2026, 3, 11), QTime(9, 0)); // Wednesday: four days in the last column
    card.setDays(HeatmapCalendar::heatmapWeeks(now, Qt::Sunday),
                 {{QStringLiteral("2026-03-11"), 16},
                  {QStringLiteral("2026-03-10"), 2},
                  {QStringLiteral("2026-03-08"), 9}},
                 american);
    card.resize(232, card.heightForWidth(232));
    const QImage image = card.grab().toImage();

    QVERIFY(near(pixel(image, card.cellRect(9, 0)),
                 over(HeatmapCalendar::levelColour(3), Palette::cardBackground)));
    QVERIFY(near(pixel(image, card.cellRect(9, 1)), Palette::cardHighlight)); // absent from the counts
    QVERIFY(near(pixel(image, card.cellRect(9, 2)),
                 over(HeatmapCalendar::levelColour(1), Palette::cardBackground)));
    QVERIFY(near(pixel(image, card.cellRect(9, 3)), Palette::accentCyan));
    for (int row = 4; row < 7; ++row)
        QVERIFY(near(pixel(image, card.cellRect(9, row)), Palette::cardBackground));
    QVERIFY(near(pixel(image, card.cellRect(0, 6)), Palette::cardHighlight));
}

void HeatmapTest::cardCellsAreSquareAndShareTheWidth() {
    HeatmapCard card;
    card.setDays(HeatmapCalendar::heatmapWeeks(QDateTime(QDate(2026, 3, 11), QTime(9, 0)), Qt::Sunday), {},
                 american);
    for (const int width : {232, 300}) {
        card.resize(width, card.heightForWidth(width));
        const QRectF first = card.cellRect(0, 0);
        const QRectF last = card.cellRect(9, 6);
        QCOMPARE(first.width(), first.height());
        QCOMPARE(first.left(), qreal(HeatmapCard::padding));
        QVERIFY(qAbs(last.right() - (width - HeatmapCard::padding)) < 0.01);
        QVERIFY(last.bottom() <= card.height() - HeatmapCard::padding + 1);
        QVERIFY(card.monthLabelRect(0).bottom() <= first.top() - HeatmapCard::spacing + 0.01);
    }
}

void HeatmapTest::cardTooltips() {
    HeatmapCard card;
    card.setDays(HeatmapCalendar::heatmapWeeks(QDateTime(QDate(2026, 3, 11), QTime(9, 0)), Qt::Sunday),
                 {{QStringLiteral("2026-03-11"), 1}, {QStringLiteral("2026-03-10"), 3}}, american);
    card.resize(232, card.heightForWidth(232));
    const auto at = [&](int column, int row) { return card.cellRect(column, row).center().toPoint(); };
    QCOMPARE(card.tooltipAt(at(9, 3)), QStringLiteral("1 prompt \u2014 Mar 11, 2026"));
    QCOMPARE(card.tooltipAt(at(9, 2)), QStringLiteral("3 prompts \u2014 Mar 10, 2026"));
    QCOMPARE(card.tooltipAt(at(9, 1)), QStringLiteral("0 prompts \u2014 Mar 9, 2026"));
    QCOMPARE(card.tooltipAt(at(9, 4)), QString()); // placeholder
    QCOMPARE(card.tooltipAt(QPoint(2, 2)), QString());

    card.show();
    QVERIFY(QTest::qWaitForWindowExposed(&card));
    QHelpEvent help(QEvent::ToolTip, at(9, 2), card.mapToGlobal(at(9, 2)));
    QCoreApplication::sendEvent(&card, &help);
    QTRY_COMPARE(QToolTip::text(), QStringLiteral("3 prompts \u2014 Mar 10, 2026"));
}

void HeatmapTest::legendOrder() {
    HeatmapLegend legend;
    legend.resize(legend.sizeHint());
    QCOMPARE(legend.lessRect().left(), HeatmapLegend::leadingPadding);
    qreal previousRight = legend.lessRect().right() + 1;
    for (int level = 0; level < HeatmapCalendar::levelCount; ++level) {
        const QRectF swatch = legend.swatchRect(level);
        QCOMPARE(swatch.size(), QSizeF(8, 8));
        QCOMPARE(swatch.left() - previousRight, qreal(HeatmapLegend::spacing));
        previousRight = swatch.right();
    }
    QCOMPARE(legend.moreRect().left() - previousRight, qreal(HeatmapLegend::spacing));
    QVERIFY(legend.moreRect().right() < legend.width());

    const QImage image = legend.grab().toImage();
    QVERIFY(near(pixel(image, legend.swatchRect(0)), Palette::cardHighlight));
    QVERIFY(near(pixel(image, legend.swatchRect(4)), Palette::accentCyan));
}

QTEST_MAIN(HeatmapTest)
#include "tst_heatmap.moc"
