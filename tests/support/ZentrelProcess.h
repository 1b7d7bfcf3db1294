#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>

class TestHome;

// The real zentrel program in a temporary home, with its log (standard error) and its output
// collected as they arrive.
class ZentrelProcess {
public:
    static constexpr int timeoutMs = 15000;

    explicit ZentrelProcess(const TestHome& home, const QStringList& extraVariables = {});
    ~ZentrelProcess();
    ZentrelProcess(const ZentrelProcess&) = delete;
    ZentrelProcess& operator=(const ZentrelProcess&) = delete;

    bool start(const QStringList& arguments = {});
    bool waitForLog(const QString& text);
    // Waits until the output holds `count` lines.
    bool waitForLines(int count);
    // Exit code once it ended by itself, -1 when it did not.
    int waitForExit();
    // Runs it with `arguments` to its end; the exit code, -1 when it did not end by itself.
    int run(const QStringList& arguments);
    void terminate();

    QString log() const { return QString::fromUtf8(m_log); }
    QString output() const { return QString::fromUtf8(m_output); }
    QStringList lines() const;
    qint64 pid() const { return m_process.processId(); }

private:
    QProcess m_process;
    QByteArray m_log;
    QByteArray m_output;
};
