#pragma once

#include "LaunchAtLoginBinding.h"

#include <QWidget>

#include <optional>

class TrackerState;

// The panel's root: header with the mark, the title and three tab icons, and the selected tab's
// content below it. View state (selected tab, circle being completed) lives as long as the view.
class PopoverView : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int selectedTab READ selectedTab WRITE selectTab NOTIFY selectedTabChanged)

public:
    static constexpr int panelWidth = 280;
    static constexpr int panelHeight = 500;

    PopoverView(TrackerState& state, LaunchAtLoginBinding launchAtLogin, QWidget* parent = nullptr);

    int selectedTab() const;
    void selectTab(int index); // animated over 0.15 s, ease in-out
    std::optional<int> lastCompletedIndex() const;

Q_SIGNALS:
    void selectedTabChanged();
    void lastCompletedIndexChanged();
    void checkForUpdatesRequested(); // the settings tab's "Check for Updates"
};
