#include "app/dbus/ZentrelService.h"

#include "common/ZentrelBus.h"
#include "model/DayKey.h"
#include "model/TrackerState.h"
#include "zentreladaptor.h"

#include <QDBusMessage>
#include <algorithm>

ZentrelService::ZentrelService(const QDBusConnection& bus, QObject* parent)
    : QObject(parent)
    , m_bus(bus) {
    m_bus.registerObject(ZentrelBus::objectPath, this, QDBusConnection::ExportAdaptors);
}

ZentrelService::~ZentrelService() {
    m_bus.unregisterObject(ZentrelBus::objectPath);
}

void ZentrelService::serve(TrackerState& state) {
    m_state = &state;
    new ZentrelAdaptor(this);
    updateProperties();
    m_announced = propertyValues();
    using Notify = void (TrackerState::*)();
    for (const Notify notify : {&TrackerState::totalRequestsChanged, &TrackerState::promptsThisSetChanged,
                                &TrackerState::promptLimitChanged, &TrackerState::pendingSetsChanged,
                                &TrackerState::pushupsPerSetChanged, &TrackerState::exerciseTypeChanged,
                                &TrackerState::dailyPromptsChanged, &TrackerState::completedHistoryChanged}) {
        connect(m_state, notify, this, &ZentrelService::publish);
    }
    m_dayTurn.setSingleShot(true);
    m_dayTurn.setTimerType(Qt::PreciseTimer);
    connect(&m_dayTurn, &QTimer::timeout, this, [this] {
        publish();
        armDayTurn();
    });
    armDayTurn();
}

// TodayPrompts starts again from zero at local midnight without any prompt to announce it. The
// wait is at most an hour, so a suspend over midnight or a change of time zone is caught up
// within one; a check that finds the same day announces nothing.
void ZentrelService::armDayTurn() {
    using namespace std::chrono_literals;
    const QDateTime now = m_state->now().toLocalTime();
    const QDateTime midnight(now.date().addDays(1), QTime(0, 0));
    const auto untilMidnight = std::chrono::milliseconds(now.msecsTo(midnight));
    m_dayTurn.start(std::clamp<std::chrono::milliseconds>(untilMidnight + 1ms, 1ms, 1h));
}

void ZentrelService::ShowPanel() {
    Q_EMIT showPanelRequested();
}

void ZentrelService::CompleteSet() {
    if (m_state->pendingSets() < 1) {
        sendErrorReply(ZentrelBus::nothingOwedError, QStringLiteral("No set is owed"));
        return;
    }
    m_state->completeSet();
}

// Every property of the interface, by its name, as the model has it now.
QVariantMap ZentrelService::propertyValues() const {
    namespace Property = ZentrelBus::Property;
    const StatusCounters status = m_state->status();
    return {
        {Property::totalPrompts, status.totalPrompts},
        {Property::promptsThisSet, status.promptsThisSet()},
        {Property::promptLimit, status.promptLimit},
        {Property::pendingSets, status.pendingSets},
        {Property::repsPerSet, status.repsPerSet},
        {Property::exercise, status.exercise},
        {Property::todayPrompts, m_state->dailyPrompts().value(dayKey(m_state->now()))},
        {Property::completedSets, static_cast<qint64>(m_state->completedHistory().size())},
    };
}

// The adaptor reads what was set here, so a caller always gets the values last announced or about
// to be.
void ZentrelService::updateProperties() {
    const QVariantMap values = propertyValues();
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        setProperty(it.key().toLatin1().constData(), it.value());
    }
}

void ZentrelService::publish() {
    updateProperties();
    scheduleAnnouncement();
}

// One operation of the model (a poll's prompts, a completed set) fires several notifications in
// a row; they are told to the bus together once control is back in the event loop.
void ZentrelService::scheduleAnnouncement() {
    if (m_announcementPending) {
        return;
    }
    m_announcementPending = true;
    QMetaObject::invokeMethod(this, &ZentrelService::announceChanges, Qt::QueuedConnection);
}

// Only values that differ from the last announcement are sent: the 51st completed set adds to
// the history and trims it again, which leaves CompletedSets where it was.
void ZentrelService::announceChanges() {
    m_announcementPending = false;
    const QVariantMap current = propertyValues();
    QVariantMap changed;
    for (auto it = current.cbegin(); it != current.cend(); ++it) {
        if (m_announced.value(it.key()) != it.value()) {
            changed.insert(it.key(), it.value());
        }
    }
    if (changed.isEmpty()) {
        return;
    }
    m_announced = current;
    QDBusMessage signal =
        QDBusMessage::createSignal(ZentrelBus::objectPath, QStringLiteral("org.freedesktop.DBus.Properties"),
                                   QStringLiteral("PropertiesChanged"));
    signal << ZentrelBus::interface << changed << QStringList();
    m_bus.send(signal);
}
