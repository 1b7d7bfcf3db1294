#pragma once

#include "ui/settings/LaunchAtLoginBinding.h"

#include <QWidget>

class AboutCard;
class ExerciseMenu;
class StepperCard;
class ToggleRow;
class TrackerState;
class WatchedDirectoryList;

// The panel's settings: prompts and reps per set, the exercise, alert sound, launch at
// login, the watched folders, session reset and the about card. It keeps nothing of its own:
// every control shows what the model (or the login service) says now, and writes straight back.
class SettingsTab : public QWidget {
    Q_OBJECT

public:
    SettingsTab(TrackerState& state, LaunchAtLoginBinding launchAtLogin, QWidget* parent = nullptr);

    // Reads every shown value afresh; done on each model change and each time the tab is shown.
    void refresh();

Q_SIGNALS:
    void checkForUpdatesRequested();

protected:
    void showEvent(QShowEvent* event) override;

private:
    QWidget* steppersRow();
    QWidget* section(const QString& title, QWidget* content);
    QWidget* optionsGroup();
    QWidget* resetButton();
    void connectModel();
    void setLaunchAtLogin(bool on);
    bool launchAtLoginEnabled() const;

    TrackerState& m_state;
    LaunchAtLoginBinding m_launchAtLogin;
    StepperCard* m_promptLimit;
    StepperCard* m_pushupsPerSet;
    ExerciseMenu* m_exercise;
    ToggleRow* m_sound;
    ToggleRow* m_launchAtLoginRow;
    WatchedDirectoryList* m_watched;
    AboutCard* m_about;
};
