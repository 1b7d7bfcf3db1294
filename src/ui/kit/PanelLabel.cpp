#include "ui/kit/PanelLabel.h"

#include "ui/kit/Palette.h"
#include "ui/kit/Typography.h"

PanelLabel::PanelLabel(const QString& text, const QFont& font, const QColor& colour, QWidget* parent)
    : QLabel(text, parent) {
    setTextFormat(Qt::PlainText);
    setFont(font);
    setColour(colour);
}

PanelLabel* PanelLabel::sectionHeader(const QString& title, QWidget* parent) {
    return new PanelLabel(title, Typography::system(9, QFont::Bold, 1.5), Palette::mutedGrey, parent);
}

QColor PanelLabel::colour() const {
    return palette().color(foregroundRole());
}

void PanelLabel::setColour(const QColor& colour) {
    QPalette textPalette = palette();
    textPalette.setColor(foregroundRole(), colour);
    setPalette(textPalette);
}
