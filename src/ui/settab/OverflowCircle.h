#pragma once

#include <QFont>
#include <QWidget>

// Stands for the owed sets beyond the circles drawn: "+n" on a faint disc. Not interactive.
class OverflowCircle : public QWidget {
    Q_OBJECT

public:
    explicit OverflowCircle(QWidget* parent = nullptr);

    void setCount(qint64 count);
    QString text() const { return m_text; }
    QFont textFont() const { return m_font; } // eleven points, or less when the count is long

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_text;
    QFont m_font;
};
