#pragma once

#include <QColor>
#include <QFont>
#include <QLabel>

// Plain text in one of the panel's fonts and colours, on a transparent background.
class PanelLabel : public QLabel {
    Q_OBJECT

public:
    PanelLabel(const QString& text, const QFont& font, const QColor& colour, QWidget* parent = nullptr);

    // The caption above a section of the activity and settings tabs; the title keeps its case.
    static PanelLabel* sectionHeader(const QString& title, QWidget* parent = nullptr);

    QColor colour() const;
    void setColour(const QColor& colour);
};
