#pragma once

#include "model/TrackerState.h"

#include <QWidget>

// The watched folders, one line each (WatchedDirectoryLine), spaced as a section's stack.
class WatchedDirectoryList : public QWidget {
    Q_OBJECT

public:
    explicit WatchedDirectoryList(QWidget* parent = nullptr);

    // Builds the lines anew only when the folders changed.
    void setDirectories(const QList<WatchedDirectory>& directories);

private:
    QList<WatchedDirectory> m_directories;
};
