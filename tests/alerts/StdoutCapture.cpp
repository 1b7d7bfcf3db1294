#include "StdoutCapture.h"

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

StdoutCapture::StdoutCapture() {
    int ends[2];
    if (pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) {
        return;
    }
    std::fflush(stdout);
    m_savedStdout = dup(STDOUT_FILENO);
    dup2(ends[1], STDOUT_FILENO);
    close(ends[1]);
    m_readEnd = ends[0];
}

StdoutCapture::~StdoutCapture() {
    if (!isActive()) {
        return;
    }
    drain();
    dup2(m_savedStdout, STDOUT_FILENO);
    close(m_savedStdout);
    close(m_readEnd);
    std::fwrite(m_captured.constData(), 1, static_cast<size_t>(m_captured.size()), stdout);
    std::fflush(stdout);
}

QByteArray StdoutCapture::text() {
    drain();
    return m_captured;
}

void StdoutCapture::drain() {
    std::fflush(stdout);
    char buffer[4096];
    ssize_t got = 0;
    while ((got = read(m_readEnd, buffer, sizeof buffer)) > 0) {
        m_captured.append(buffer, got);
    }
}
