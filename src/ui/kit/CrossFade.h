#pragma once

#include <QPixmap>
#include <QWidget>

class QVariantAnimation;

// Fades a snapshot of what a widget showed before a change out over the widget, so the new
// content appears to blend in. Clicks pass through to the content below.
class CrossFade : public QWidget {
    Q_OBJECT

public:
    explicit CrossFade(QWidget* parent);

    // Covers target with its current look, then fades that away over the given time.
    void start(QWidget* target, int durationMs);
    bool isRunning() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap m_snapshot;
    qreal m_opacity = 0;
    QVariantAnimation* m_animation;
};
