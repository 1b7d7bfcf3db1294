#pragma once

#include <QProcessEnvironment>
#include <QStringList>

// Whether the GUI application can open a display on the platform it is going to use. Qt ends the
// process with an abort and a page of advice when it cannot, so the answer is needed before the
// application object exists. Platforms that need no display (offscreen, ...) always can.
bool canOpenDisplay(const QProcessEnvironment& environment, const QStringList& arguments);
