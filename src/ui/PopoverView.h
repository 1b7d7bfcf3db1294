#pragma once

#include "ui/settings/LaunchAtLoginBinding.h"

#include <QList>
#include <QWidget>
#include <optional>

class CrossFade;
class QScrollArea;
class QStackedWidget;
class SetCompletion;
class TabButton;
class TrackerState;

// The panel's root: header with the mark, the title and three tab icons, and the selected tab's
// content below it. View state (selected tab, circle being completed) lives as long as the view.
class PopoverView : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int selectedTab READ selectedTab WRITE selectTab NOTIFY selectedTabChanged)

public:
    static constexpr int panelWidth = 280;
    static constexpr int panelHeight = 500;
    static constexpr int tabTransitionMs = 150;

    PopoverView(TrackerState& state, LaunchAtLoginBinding launchAtLogin, QWidget* parent = nullptr);

    int selectedTab() const;
    void selectTab(int index); // animated over 0.15 s, ease in-out
    std::optional<int> lastCompletedIndex() const;

    QSize sizeHint() const override;

Q_SIGNALS:
    void selectedTabChanged();
    void lastCompletedIndexChanged();
    void checkForUpdatesRequested(); // the settings tab's "Check for Updates"

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QWidget* header();
    QWidget* tabBar();
    QScrollArea* scrolling(QWidget* content, const QString& name);
    int pageFor(int tab) const;

    int m_selectedTab = 0;
    SetCompletion* m_completion;
    QStackedWidget* m_content;
    CrossFade* m_crossFade;
    QList<TabButton*> m_tabButtons;
};
