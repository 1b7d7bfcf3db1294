#pragma once

#include <QWidget>

class PanelLabel;

// One running figure of the totals card: the number over its caption.
class StatColumn : public QWidget {
    Q_OBJECT

public:
    StatColumn(const QString& caption, QWidget* parent = nullptr);

    void setValue(qint64 value);
    // A highlighted figure is drawn in the alert colour.
    void setHighlighted(bool highlighted);

    QString valueText() const;
    QColor valueColour() const;
    QString caption() const;

private:
    PanelLabel* m_value;
    PanelLabel* m_caption;
};
