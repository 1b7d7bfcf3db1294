#include "ui/settings/StepperCard.h"

#include "ui/kit/CardFrame.h"
#include "ui/kit/Glyphs.h"
#include "ui/kit/Palette.h"
#include "ui/kit/PanelLabel.h"
#include "ui/kit/PlainButton.h"
#include "ui/kit/Typography.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace {
constexpr int buttonWidth = 44;
constexpr int buttonHeight = 38;
constexpr int glyphSize = 12;
constexpr qreal cornerRadius = 8;

QColor stepColour(bool atBound) {
    return atBound ? Palette::mutedGrey : QColor(Qt::white);
}
} // namespace

StepperCard::StepperCard(const QString& title, QWidget* parent)
    : QWidget(parent)
    , m_minus(
          stepButton(Glyphs::minus, QStringLiteral("Decrease ") + title, QStringLiteral("decrementButton")))
    , m_valueLabel(new PanelLabel(QString(), Typography::rounded(20, QFont::Bold), Qt::white, this))
    , m_plus(
          stepButton(Glyphs::plus, QStringLiteral("Increase ") + title, QStringLiteral("incrementButton"))) {
    m_valueLabel->setObjectName(QStringLiteral("valueLabel"));
    m_valueLabel->setAlignment(Qt::AlignCenter);
    m_valueLabel->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    m_valueLabel->setMinimumWidth(0);

    auto* row = new CardFrame(cornerRadius, this);
    auto* rowLayout = new QHBoxLayout(row);
    rowLayout->setContentsMargins(0, 0, 0, 0);
    rowLayout->setSpacing(0);
    rowLayout->addWidget(m_minus);
    rowLayout->addWidget(m_valueLabel, 1);
    rowLayout->addWidget(m_plus);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8);
    layout->addWidget(PanelLabel::sectionHeader(title, this));
    layout->addWidget(row);

    connect(m_minus, &PlainButton::clicked, this, [this] { step(-1); });
    connect(m_plus, &PlainButton::clicked, this, [this] { step(+1); });
    setValue(m_value);
}

PlainButton* StepperCard::stepButton(char16_t glyph, const QString& accessibleName,
                                     const QString& objectName) {
    auto* button = new PlainButton({{Glyphs::text(glyph), Glyphs::font(glyphSize)}}, Qt::white, this);
    button->setFixedSize(buttonWidth, buttonHeight);
    button->setAccessibleName(accessibleName);
    button->setObjectName(objectName);
    return button;
}

void StepperCard::setValue(qint64 value) {
    m_value = value;
    m_valueLabel->setText(QString::number(value));
    m_minus->setColour(stepColour(value <= minimum));
    m_plus->setColour(stepColour(value >= maximum));
}

void StepperCard::step(qint64 delta) {
    const bool canMove = delta < 0 ? m_value > minimum : m_value < maximum;
    if (canMove) {
        Q_EMIT valueChosen(m_value + delta);
    }
}
