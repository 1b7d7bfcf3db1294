#pragma once

#include <QByteArray>
#include <unistd.h>

// Catches what the process writes to one of its outputs (standard output unless told otherwise)
// while it lives. What it caught is written through to the real output afterwards, so a test
// failure reported meanwhile is not lost.
class OutputCapture {
public:
    explicit OutputCapture(int descriptor = STDOUT_FILENO);
    ~OutputCapture();
    OutputCapture(const OutputCapture&) = delete;
    OutputCapture& operator=(const OutputCapture&) = delete;

    bool isActive() const { return m_savedOutput >= 0; }
    // Everything written since construction.
    QByteArray text();

private:
    void drain();

    int m_descriptor;
    int m_savedOutput = -1;
    int m_readEnd = -1;
    QByteArray m_captured;
};
