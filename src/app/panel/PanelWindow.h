#pragma once

#include <QElapsedTimer>
#include <QWidget>
#include <chrono>
#include <optional>

// The floating panel under the tray icon: a frameless window with rounded corners around the
// panel's content, created once and hidden or shown for the life of the process. On X11 it is
// a popup, so any click outside it closes it; on a pure Wayland session a tool window that
// hides when it loses focus. Where no tray shows the icon, the same panel is shown as an
// ordinary window titled "Zentrel" instead.
class PanelWindow : public QWidget {
    Q_OBJECT

public:
    static constexpr int cornerRadius = 12;
    // The click on the tray icon that closed the popup also reaches the icon; a toggle this
    // soon after hiding is that same click and must not open the panel again.
    static constexpr std::chrono::milliseconds reopenGuard{300};

    PanelWindow(QWidget* content, const QSize& size, QWidget* parent = nullptr);

    // `anchor` is the tray icon's rectangle or the clicked point as an empty rectangle;
    // without one the panel opens at the pointer.
    void togglePanel(const std::optional<QRect>& anchor);
    void showPanel(const std::optional<QRect>& anchor);
    void showAsWindow();

Q_SIGNALS:
    void panelShown();

protected:
    bool event(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    enum class Presentation { Popup, Window };

    void present(Presentation presentation);
    void updateMask();
    QPoint positionFor(const std::optional<QRect>& anchor) const;

    QElapsedTimer m_sinceHidden;
    bool m_hidesOnDeactivation;
    Presentation m_presentation = Presentation::Popup;
};
