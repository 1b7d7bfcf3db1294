#pragma once

#include <QIcon>

// The application's own icon, the one its desktop entry names, drawn at the sizes that task lists,
// window switchers and title bars ask for.
QIcon applicationIcon();
