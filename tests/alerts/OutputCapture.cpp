#include "OutputCapture.h"

#include <cstdio>
#include <fcntl.h>

OutputCapture::OutputCapture(int descriptor)
    : m_descriptor(descriptor) {
    int ends[2];
    if (pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) {
        return;
    }
    std::fflush(nullptr);
    m_savedOutput = dup(m_descriptor);
    dup2(ends[1], m_descriptor);
    close(ends[1]);
    m_readEnd = ends[0];
}

OutputCapture::~OutputCapture() {
    if (!isActive()) {
        return;
    }
    drain();
    dup2(m_savedOutput, m_descriptor);
    close(m_savedOutput);
    close(m_readEnd);
    // Best effort: output that cannot be written back has nowhere else to go either.
    [[maybe_unused]] const ssize_t written =
        write(m_descriptor, m_captured.constData(), static_cast<size_t>(m_captured.size()));
}

QByteArray OutputCapture::text() {
    drain();
    return m_captured;
}

void OutputCapture::drain() {
    std::fflush(nullptr);
    char buffer[4096];
    ssize_t got = 0;
    while ((got = read(m_readEnd, buffer, sizeof buffer)) > 0) {
        m_captured.append(buffer, got);
    }
}
