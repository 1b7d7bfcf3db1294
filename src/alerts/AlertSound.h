#pragma once

#include <QObject>

struct ca_context;

// Plays the sound theme's alert sound ourselves, for notification servers that cannot.
class AlertSound : public QObject {
    Q_OBJECT

public:
    // The theme sound an owed set rings, whoever plays it.
    static constexpr const char* eventId = "message-new-instant";

    explicit AlertSound(QObject* parent = nullptr);
    ~AlertSound() override;

    // Starts the sound without waiting for it; a missing device or theme only costs the sound.
    void play();

private:
    int ensureContext();
    int startSound();

    ca_context* m_context = nullptr;
};
