#pragma once

#include <QFont>
#include <QPointF>
#include <QWidget>

// The big "7/10" of the progress card: the count in the large rounded face and "/" with the limit
// in the smaller one, bottom edges aligned, the limit lifted off the bottom. Both shrink together
// when the text is wider than the card, so long counts are never clipped.
class PromptCountView : public QWidget {
    Q_OBJECT

public:
    static constexpr int countSize = 76;
    static constexpr int limitSize = 30;
    static constexpr int limitLift = 10;

    explicit PromptCountView(QWidget* parent = nullptr);

    void setValues(qint64 count, qint64 limit);
    QString countText() const { return m_countText; }
    QString limitText() const { return m_limitText; }
    // Factor the fonts are scaled by to fit the current width (1 when everything fits).
    qreal fitScale() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    qreal naturalWidth() const;
    // Fits the fonts to the width and places both texts; painting only draws what this decided.
    void relayout();

    QString m_countText;
    QString m_limitText;
    QFont m_countFont;
    QFont m_limitFont;
    QPointF m_countOrigin;
    QPointF m_limitOrigin;
};
