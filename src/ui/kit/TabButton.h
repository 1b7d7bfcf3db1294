#pragma once

#include <QAbstractButton>

class QVariantAnimation;

// One icon of the header's tab bar: a glyph only, cyan when its tab is selected, grey otherwise,
// with the colour change animated.
class TabButton : public QAbstractButton {
    Q_OBJECT

public:
    static constexpr int glyphSize = 15;
    // Room around the glyph for the keyboard focus ring; the header's spacing and padding give
    // it back, so the glyphs sit where bare glyphs would.
    static constexpr int focusRoom = 3;

    TabButton(char16_t glyph, const QString& name, QWidget* parent = nullptr);

    void setSelected(bool selected, int durationMs);
    QColor shownColour() const; // the colour drawn at this moment of the animation

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const char16_t m_glyph;
    bool m_selected = false;
    qreal m_selection = 0; // 0 grey .. 1 cyan
    QVariantAnimation* m_animation;
};
