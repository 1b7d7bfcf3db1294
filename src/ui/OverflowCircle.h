#pragma once

#include <QWidget>

// Stands for the owed sets beyond the circles drawn: "+n" on a faint disc. Not interactive.
class OverflowCircle : public QWidget {
    Q_OBJECT

public:
    explicit OverflowCircle(QWidget* parent = nullptr);

    void setCount(qint64 count);
    QString text() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    qint64 m_count = 1;
};
