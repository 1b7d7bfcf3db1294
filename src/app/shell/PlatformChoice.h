#pragma once

#include <QProcessEnvironment>
#include <QStringList>

// Whether to run on XWayland: inside a Wayland session that also offers X11, unless the user
// picked a platform. A Wayland client cannot place its own windows, so the panel could not
// open under the tray icon.
bool shouldPreferXcb(const QProcessEnvironment& environment, const QStringList& arguments);
