#pragma once

#include <QObject>
#include <QPointer>
#include <chrono>
#include <optional>

class TrackerState;

// The panel's lastCompletedIndex and the tap protocol of the owed-set circles: one accepted tap
// marks its circle as completing, and completionDelay later the model clears one set. Taps
// while a circle is completing are ignored. The delayed clearing is tied to the model, not to
// the widgets, so it still happens exactly once when the panel is hidden or torn down meanwhile.
class SetCompletion : public QObject {
    Q_OBJECT

public:
    static constexpr std::chrono::milliseconds completionDelay{350};

    explicit SetCompletion(TrackerState& state, QObject* parent = nullptr);

    std::optional<int> lastCompletedIndex() const { return m_lastCompletedIndex; }
    bool isCompleting(int index) const { return m_lastCompletedIndex == index; }

    // Returns whether the tap was accepted.
    bool tap(int index);

Q_SIGNALS:
    void lastCompletedIndexChanged();

private:
    void setLastCompletedIndex(std::optional<int> index);

    QPointer<TrackerState> m_state;
    std::optional<int> m_lastCompletedIndex;
};
