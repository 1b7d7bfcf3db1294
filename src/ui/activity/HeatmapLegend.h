#pragma once

#include <QFont>
#include <QWidget>

// "Less", one swatch per intensity level from none to most, "More".
class HeatmapLegend : public QWidget {
    Q_OBJECT

public:
    static constexpr int leadingPadding = 2;
    static constexpr int spacing = 4;
    static constexpr int swatchSize = 8;
    static constexpr qreal swatchRadius = 2;

    explicit HeatmapLegend(QWidget* parent = nullptr);

    QRectF swatchRect(int level) const;
    QRect lessRect() const;
    QRect moreRect() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int textWidth(const QString& text) const;

    QFont m_font;
};
