#include "ZentrelProcess.h"

#include "TestHome.h"

#include <QProcessEnvironment>
#include <QTest>

ZentrelProcess::ZentrelProcess(const TestHome& home, const QStringList& extraVariables) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), home.path());
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.configHome());
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.path() + QStringLiteral("/run"));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("zentrel.*.info=true"));
    for (const QString& variable : extraVariables) {
        environment.insert(variable.section(QLatin1Char('='), 0, 0), variable.section(QLatin1Char('='), 1));
    }
    m_process.setProcessEnvironment(environment);
    QObject::connect(&m_process, &QProcess::readyReadStandardError, &m_process,
                     [this] { m_log += m_process.readAllStandardError(); });
    QObject::connect(&m_process, &QProcess::readyReadStandardOutput, &m_process,
                     [this] { m_output += m_process.readAllStandardOutput(); });
}

ZentrelProcess::~ZentrelProcess() {
    terminate();
}

bool ZentrelProcess::start(const QStringList& arguments) {
    m_process.start(qEnvironmentVariable("ZENTREL_BINARY_DIR") + QStringLiteral("/src/app/zentrel"),
                    arguments);
    return m_process.waitForStarted(timeoutMs);
}

bool ZentrelProcess::waitForLog(const QString& text) {
    return QTest::qWaitFor([this, &text] { return log().contains(text); }, timeoutMs);
}

bool ZentrelProcess::waitForLines(int count) {
    return QTest::qWaitFor([this, count] { return lines().size() >= count; }, timeoutMs);
}

int ZentrelProcess::waitForExit() {
    if (!QTest::qWaitFor([this] { return m_process.state() == QProcess::NotRunning; }, timeoutMs)) {
        return -1;
    }
    return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
}

int ZentrelProcess::run(const QStringList& arguments) {
    return start(arguments) ? waitForExit() : -1;
}

void ZentrelProcess::terminate() {
    if (m_process.state() == QProcess::NotRunning) {
        return;
    }
    m_process.terminate();
    if (!m_process.waitForFinished(timeoutMs)) {
        m_process.kill();
    }
}

QStringList ZentrelProcess::lines() const {
    return output().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}
