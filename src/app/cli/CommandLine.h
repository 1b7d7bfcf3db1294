#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QStringList>
#include <variant>

// What one start of the program was asked to do.
struct Invocation {
    enum class Command { Run, Show, Status, Complete, Explain };
    Command command = Command::Run;
    bool json = false;
    bool follow = false;
    bool lines = false;
    QStringList files;
};

// The program's arguments: no command runs Zentrel; "show" runs it or opens its panel; "status",
// "complete" and "explain" are short-lived commands for bars and scripts.
class CommandLine {
public:
    CommandLine();

    // Decided from argv alone, before any application object exists: running Zentrel needs the
    // GUI application, which also takes Qt's own options (-platform, -display, ...); the other
    // commands must work without a display.
    static bool runsApplication(const QStringList& arguments);

    // The invocation, or the exit code once --help, --version or a wrong argument has been
    // answered (a wrong one is told on standard error with code 2). Needs the application object.
    std::variant<Invocation, int> parse(const QStringList& arguments);

private:
    int reject(const QString& error) const;
    QString helpText() const;

    QCommandLineParser m_parser;
    QCommandLineOption m_help;
    QCommandLineOption m_version;
    QCommandLineOption m_json;
    QCommandLineOption m_follow;
    QCommandLineOption m_lines;
};
