#pragma once

#include <QByteArray>

// Catches what the process writes to standard output (file descriptor 1) while it lives.
// What it caught is written through to the real standard output afterwards, so a test failure
// reported meanwhile is not lost.
class StdoutCapture {
public:
    StdoutCapture();
    ~StdoutCapture();
    StdoutCapture(const StdoutCapture&) = delete;
    StdoutCapture& operator=(const StdoutCapture&) = delete;

    bool isActive() const { return m_savedStdout >= 0; }
    // Everything written since construction.
    QByteArray text();

private:
    void drain();

    int m_savedStdout = -1;
    int m_readEnd = -1;
    QByteArray m_captured;
};
