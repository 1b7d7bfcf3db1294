#pragma once

#include <QColor>
#include <QWidget>

// A one-pixel horizontal line across its parent, optionally inset on both sides.
class Divider : public QWidget {
    Q_OBJECT

public:
    explicit Divider(const QColor& colour, int sideInset = 0, QWidget* parent = nullptr);

    QColor colour() const { return m_colour; }
    int sideInset() const { return m_sideInset; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_colour;
    int m_sideInset;
};
