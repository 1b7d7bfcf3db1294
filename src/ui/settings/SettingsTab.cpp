#include "ui/settings/SettingsTab.h"

#include "common/AppIdentity.h"
#include "model/ExerciseCatalogue.h"
#include "model/TrackerState.h"
#include "ui/kit/CardFrame.h"
#include "ui/kit/Divider.h"
#include "ui/kit/Palette.h"
#include "ui/kit/PanelLabel.h"
#include "ui/kit/PlainButton.h"
#include "ui/kit/Typography.h"
#include "ui/settings/AboutCard.h"
#include "ui/settings/ExerciseMenu.h"
#include "ui/settings/StepperCard.h"
#include "ui/settings/ToggleRow.h"
#include "ui/settings/WatchedDirectoryList.h"

#include <QHBoxLayout>
#include <QVBoxLayout>
#include <utility>

namespace {
constexpr qreal cardRadius = 8;
}

SettingsTab::SettingsTab(TrackerState& state, LaunchAtLoginBinding launchAtLogin, QWidget* parent)
    : QWidget(parent)
    , m_state(state)
    , m_launchAtLogin(std::move(launchAtLogin))
    , m_promptLimit(new StepperCard(QStringLiteral("PROMPTS / SET"), this))
    , m_pushupsPerSet(new StepperCard(QStringLiteral("REPS / SET"), this))
    , m_exercise(new ExerciseMenu(exerciseTypes, this))
    , m_sound(new ToggleRow(QStringLiteral("Sound on alert"), QStringLiteral("soundSwitch"), this))
    , m_launchAtLoginRow(
          new ToggleRow(QStringLiteral("Launch at login"), QStringLiteral("launchAtLoginSwitch"), this))
    , m_watched(new WatchedDirectoryList(this))
    , m_about(new AboutCard(this)) {
    m_promptLimit->setObjectName(QStringLiteral("promptLimitStepper"));
    m_pushupsPerSet->setObjectName(QStringLiteral("pushupsPerSetStepper"));
    m_exercise->setObjectName(QStringLiteral("exerciseMenu"));
    m_exercise->setAccessibleName(QStringLiteral("Exercise type"));
    m_watched->setObjectName(QStringLiteral("watchedDirectories"));
    m_about->setObjectName(QStringLiteral("aboutCard"));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(14, 14, 14, 14);
    layout->setSpacing(20);
    layout->addWidget(steppersRow());
    layout->addWidget(section(QStringLiteral("EXERCISE TYPE"), m_exercise));
    layout->addWidget(section(QStringLiteral("OPTIONS"), optionsGroup()));
    layout->addWidget(section(QStringLiteral("WATCHING"), m_watched));
    layout->addWidget(resetButton());
    layout->addWidget(section(QStringLiteral("ABOUT"), m_about));
    layout->addStretch();

    connectModel();
    refresh();
}

void SettingsTab::refresh() {
    m_promptLimit->setValue(m_state.promptLimit());
    m_pushupsPerSet->setValue(m_state.pushupsPerSet());
    m_exercise->setCurrentExercise(m_state.exerciseType());
    m_sound->setChecked(m_state.soundEnabled());
    m_launchAtLoginRow->setChecked(launchAtLoginEnabled());
    m_watched->setDirectories(m_state.watchedDirectories());
    m_about->setVersion(AppIdentity::appVersion());
}

void SettingsTab::showEvent(QShowEvent* event) {
    refresh();
    QWidget::showEvent(event);
}

QWidget* SettingsTab::steppersRow() {
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(10);
    layout->addWidget(m_promptLimit, 1, Qt::AlignTop);
    layout->addWidget(m_pushupsPerSet, 1, Qt::AlignTop);
    return row;
}

QWidget* SettingsTab::section(const QString& title, QWidget* content) {
    auto* section = new QWidget(this);
    auto* layout = new QVBoxLayout(section);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8);
    layout->addWidget(PanelLabel::sectionHeader(title, section));
    layout->addWidget(content);
    return section;
}

QWidget* SettingsTab::optionsGroup() {
    auto* group = new CardFrame(cardRadius, this);
    auto* layout = new QVBoxLayout(group);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_sound);
    layout->addWidget(new Divider(Palette::panelBackground, 0, group));
    layout->addWidget(m_launchAtLoginRow);
    return group;
}

QWidget* SettingsTab::resetButton() {
    auto* button =
        new PlainButton({{QStringLiteral("Reset Session"), Typography::system(12, QFont::DemiBold)}},
                        Palette::alertRed, this);
    button->setObjectName(QStringLiteral("resetSessionButton"));
    button->setAccessibleName(QStringLiteral("Reset Session"));
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    connect(button, &PlainButton::clicked, &m_state, &TrackerState::resetSession);
    return button;
}

void SettingsTab::connectModel() {
    connect(m_promptLimit, &StepperCard::valueChosen, &m_state, &TrackerState::setPromptLimit);
    connect(m_pushupsPerSet, &StepperCard::valueChosen, &m_state, &TrackerState::setPushupsPerSet);
    connect(m_exercise, &ExerciseMenu::exerciseChosen, &m_state, &TrackerState::setExerciseType);
    connect(m_sound, &ToggleRow::toggledByUser, &m_state, &TrackerState::setSoundEnabled);
    connect(m_launchAtLoginRow, &ToggleRow::toggledByUser, this, &SettingsTab::setLaunchAtLogin);
    connect(m_about, &AboutCard::checkForUpdatesRequested, this, &SettingsTab::checkForUpdatesRequested);
    for (auto signal : {&TrackerState::promptLimitChanged, &TrackerState::pushupsPerSetChanged,
                        &TrackerState::exerciseTypeChanged, &TrackerState::soundEnabledChanged,
                        &TrackerState::watchedDirectoriesChanged}) {
        connect(&m_state, signal, this, &SettingsTab::refresh);
    }
}

// The switch then shows what the service reports, which is not necessarily what was asked for.
void SettingsTab::setLaunchAtLogin(bool on) {
    if (m_launchAtLogin.setEnabled) {
        m_launchAtLogin.setEnabled(on);
    }
    m_launchAtLoginRow->setChecked(launchAtLoginEnabled());
}

bool SettingsTab::launchAtLoginEnabled() const {
    return m_launchAtLogin.isEnabled && m_launchAtLogin.isEnabled();
}
