#pragma once

#include <QWidget>

class PanelLabel;
class PlainButton;

// A titled number with minus and plus buttons that step it by one within 1 to 100. The card
// only proposes new values; what it shows is whatever it is told afterwards. A value outside
// the range (a hand-edited store) is shown as it is and can only be stepped back towards it.
class StepperCard : public QWidget {
    Q_OBJECT

public:
    static constexpr qint64 minimum = 1;
    static constexpr qint64 maximum = 100;

    explicit StepperCard(const QString& title, QWidget* parent = nullptr);

    qint64 value() const { return m_value; }
    void setValue(qint64 value);

Q_SIGNALS:
    void valueChosen(qint64 value);

private:
    PlainButton* stepButton(char16_t glyph, const QString& accessibleName, const QString& objectName);
    void step(qint64 delta);

    qint64 m_value = minimum;
    PlainButton* m_minus;
    PanelLabel* m_valueLabel;
    PlainButton* m_plus;
};
