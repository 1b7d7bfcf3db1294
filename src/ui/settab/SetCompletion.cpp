#include "ui/settab/SetCompletion.h"

#include "model/TrackerState.h"

#include <QTimer>

SetCompletion::SetCompletion(TrackerState& state, QObject* parent)
    : QObject(parent)
    , m_state(&state) {}

bool SetCompletion::tap(int index) {
    if (m_lastCompletedIndex || !m_state) {
        return false;
    }
    setLastCompletedIndex(index);
    QTimer::singleShot(completionDelay, m_state.data(), [state = m_state, self = QPointer(this)] {
        state->completeSet();
        if (self) {
            self->setLastCompletedIndex(std::nullopt);
        }
    });
    return true;
}

void SetCompletion::setLastCompletedIndex(std::optional<int> index) {
    if (index == m_lastCompletedIndex) {
        return;
    }
    m_lastCompletedIndex = index;
    Q_EMIT lastCompletedIndexChanged();
}
