#pragma once

#include <QProcess>
#include <QString>
#include <memory>

// A small X11 desktop on the current display for tray tests: the openbox window manager and
// a trayer XEmbed tray along the top edge. Both are stopped when the object goes.
class TrayDesktop {
public:
    TrayDesktop();
    ~TrayDesktop();
    TrayDesktop(const TrayDesktop&) = delete;
    TrayDesktop& operator=(const TrayDesktop&) = delete;

    // Empty when everything needed is installed, else what is missing.
    static QString missingTools();
    bool start();

private:
    static void stop(QProcess& process);

    QProcess m_windowManager;
    QProcess m_tray;
};
