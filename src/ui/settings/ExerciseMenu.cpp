#include "ui/settings/ExerciseMenu.h"

#include "ui/kit/CardPainter.h"
#include "ui/kit/FocusRing.h"
#include "ui/kit/Glyphs.h"
#include "ui/kit/Palette.h"
#include "ui/kit/Typography.h"

#include <QMenu>
#include <QPainter>

namespace {
constexpr int sidePadding = 12;
constexpr int verticalPadding = 10;
constexpr int chevronGap = 6;
constexpr qreal cornerRadius = 8;
constexpr qreal outlineOpacity = 0.12;
const QString chevron = Glyphs::text(Glyphs::chevronUpDown);
} // namespace

ExerciseMenu::ExerciseMenu(const QStringList& names, QWidget* parent)
    : QAbstractButton(parent)
    , m_menu(new QMenu(this))
    , m_textFont(Typography::system(13, QFont::Medium))
    , m_chevronFont(Glyphs::font(10)) {
    setFocusPolicy(Qt::TabFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    m_menu->setObjectName(QStringLiteral("exerciseMenuPopup"));
    for (const QString& name : names) {
        QAction* action = m_menu->addAction(name);
        connect(action, &QAction::triggered, this, [this, name] { Q_EMIT exerciseChosen(name); });
    }
    connect(this, &ExerciseMenu::clicked, this, &ExerciseMenu::openMenu);
}

void ExerciseMenu::setCurrentExercise(const QString& name) {
    m_current = name;
    update();
}

QSize ExerciseMenu::sizeHint() const {
    const QFontMetrics text(m_textFont);
    const QFontMetrics glyph(m_chevronFont);
    const int width =
        2 * sidePadding + text.horizontalAdvance(m_current) + chevronGap + glyph.horizontalAdvance(chevron);
    return {width, 2 * verticalPadding + std::max(text.height(), glyph.height())};
}

QSize ExerciseMenu::minimumSizeHint() const {
    const int chevronWidth = QFontMetrics(m_chevronFont).horizontalAdvance(chevron);
    return {2 * sidePadding + chevronGap + chevronWidth, sizeHint().height()};
}

void ExerciseMenu::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    CardPainter::fill(painter, rect(), cornerRadius);
    CardPainter::outline(painter, rect(), cornerRadius, Palette::withAlpha(Qt::white, outlineOpacity));
    const QRect content = rect().adjusted(sidePadding, 0, -sidePadding, 0);
    const int chevronWidth = QFontMetrics(m_chevronFont).horizontalAdvance(chevron);
    painter.setFont(m_chevronFont);
    painter.setPen(Palette::mutedGrey);
    painter.drawText(content, Qt::AlignRight | Qt::AlignVCenter, chevron);
    painter.setFont(m_textFont);
    painter.setPen(Qt::white);
    const int textRoom = content.width() - chevronWidth - chevronGap;
    const QString text = QFontMetrics(m_textFont).elidedText(m_current, Qt::ElideRight, textRoom);
    painter.drawText(content.adjusted(0, 0, -(chevronWidth + chevronGap), 0),
                     Qt::AlignLeft | Qt::AlignVCenter, text);
    FocusRing::paint(painter, *this, rect(), cornerRadius);
}

void ExerciseMenu::openMenu() {
    m_menu->setMinimumWidth(width());
    m_menu->popup(mapToGlobal(QPoint(0, height())));
}
