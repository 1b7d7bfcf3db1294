#pragma once

#include <QAbstractButton>

// An on/off switch: a pill that is cyan when on, with a white knob at the end of its state.
class SwitchToggle : public QAbstractButton {
    Q_OBJECT

public:
    static constexpr int trackWidth = 36;
    static constexpr int trackHeight = 20;

    explicit SwitchToggle(QWidget* parent = nullptr);

    QSize sizeHint() const override { return {trackWidth, trackHeight}; }
    QRectF knobRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;
};
