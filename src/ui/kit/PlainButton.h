#pragma once

#include <QAbstractButton>
#include <QColor>
#include <QFont>
#include <QList>

// A button that draws only its label: one or more pieces of text side by side, each in its own
// font, all in one colour. No bezel, no background, no hover or press highlight.
class PlainButton : public QAbstractButton {
    Q_OBJECT

public:
    struct Run {
        QString text;
        QFont font;
    };

    PlainButton(QList<Run> runs, const QColor& colour, QWidget* parent = nullptr);

    QColor colour() const { return m_colour; }
    void setColour(const QColor& colour);
    void setRunSpacing(int spacing);
    void setContentAlignment(Qt::Alignment alignment);
    // Lets the label scale down a little (to minimumLabelScale) when the button gets less room
    // than it needs, so a long label cannot widen the column it sits in, and is never cut.
    void setShrinkable();
    static constexpr qreal minimumLabelScale = 0.85;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int runWidth(const Run& run) const;
    int contentWidth() const;
    int contentLeft() const;
    qreal labelScale() const;

    QList<Run> m_runs;
    QColor m_colour;
    int m_runSpacing = 0;
    Qt::Alignment m_alignment = Qt::AlignCenter;
    bool m_shrinkable = false;
};
