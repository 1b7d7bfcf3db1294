#include "app/cli/CommandLine.h"

#include <QCoreApplication>
#include <QMap>
#include <cstdio>

namespace {
using Command = Invocation::Command;

const QMap<QString, Command> commandNames{
    {QStringLiteral("show"), Command::Show},
    {QStringLiteral("status"), Command::Status},
    {QStringLiteral("complete"), Command::Complete},
    {QStringLiteral("explain"), Command::Explain},
};

const QString description = QStringLiteral(
    "Counts the prompts you type into your AI coding assistant and owes you an exercise set every few "
    "prompts.\n"
    "\n"
    "Commands:\n"
    "  (none)           run Zentrel in the tray\n"
    "  show             open the panel of the running Zentrel, or start it with the panel open\n"
    "  status           print the status on one line; --json as JSON, --follow again at every change\n"
    "  complete         clear one owed set and print the new status\n"
    "  explain PATH...  tell which records of transcripts (or of all below a folder) are prompts, and why\n"
    "                   the others are not");

void print(std::FILE* stream, const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stream);
}
} // namespace

CommandLine::CommandLine()
    : m_help({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Show this help."))
    , m_version({QStringLiteral("v"), QStringLiteral("version")}, QStringLiteral("Show the version."))
    , m_json(QStringLiteral("json"), QStringLiteral("status, complete, explain: print JSON."))
    , m_follow(QStringLiteral("follow"),
               QStringLiteral("status: print a new line at every change, until stopped."))
    , m_lines(QStringLiteral("lines"), QStringLiteral("explain: print the verdict on every line.")) {
    m_parser.setApplicationDescription(description);
    m_parser.addOptions({m_help, m_version, m_json, m_follow, m_lines});
    m_parser.addPositionalArgument(QStringLiteral("command"), QStringLiteral("See above; none runs Zentrel."),
                                   QStringLiteral("[command]"));
    m_parser.addPositionalArgument(QStringLiteral("files"),
                                   QStringLiteral("Transcripts or folders, for explain."),
                                   QStringLiteral("[FILE...]"));
}

bool CommandLine::runsApplication(const QStringList& arguments) {
    if (arguments.size() < 2) {
        return true;
    }
    const QString& first = arguments.at(1);
    if (first == QLatin1String("show")) {
        return true;
    }
    if (!first.startsWith(QLatin1Char('-'))) {
        return false;
    }
    static const QStringList ownOptions{
        QStringLiteral("-h"),        QStringLiteral("--help"), QStringLiteral("-v"),
        QStringLiteral("--version"), QStringLiteral("--json"), QStringLiteral("--follow"),
        QStringLiteral("--lines"),
    };
    return !ownOptions.contains(first);
}

std::variant<Invocation, int> CommandLine::parse(const QStringList& arguments) {
    if (!m_parser.parse(arguments)) {
        return reject(m_parser.errorText());
    }
    if (m_parser.isSet(m_help)) {
        print(stdout, helpText());
        return 0;
    }
    if (m_parser.isSet(m_version)) {
        print(stdout, QStringLiteral("zentrel %1\n").arg(QCoreApplication::applicationVersion()));
        return 0;
    }
    Invocation invocation;
    QStringList positional = m_parser.positionalArguments();
    if (!positional.isEmpty()) {
        const QString name = positional.takeFirst();
        const auto command = commandNames.constFind(name);
        if (command == commandNames.cend()) {
            return reject(QStringLiteral("Unknown command '%1'.").arg(name));
        }
        invocation.command = *command;
    }
    invocation.json = m_parser.isSet(m_json);
    invocation.follow = m_parser.isSet(m_follow);
    invocation.lines = m_parser.isSet(m_lines);
    invocation.files = positional;

    const Command command = invocation.command;
    if (command == Command::Explain && invocation.files.isEmpty()) {
        return reject(QStringLiteral("explain needs at least one file."));
    }
    if (command != Command::Explain && !invocation.files.isEmpty()) {
        return reject(QStringLiteral("Unexpected argument '%1'.").arg(invocation.files.first()));
    }
    if (invocation.json && command != Command::Status && command != Command::Complete &&
        command != Command::Explain) {
        return reject(QStringLiteral("--json goes with status, complete or explain."));
    }
    if (invocation.follow && command != Command::Status) {
        return reject(QStringLiteral("--follow goes with status."));
    }
    if (invocation.lines && command != Command::Explain) {
        return reject(QStringLiteral("--lines goes with explain."));
    }
    return invocation;
}

// The mistake on one line and where to read more: the whole help would push the mistake out of
// sight, and a bar's log would fill with it at every start.
int CommandLine::reject(const QString& error) const {
    print(stderr, QStringLiteral("zentrel: %1\nTry 'zentrel --help'.\n").arg(error));
    return 2;
}

// The usage line names the program as it is called from a shell, not by the path it was started by.
QString CommandLine::helpText() const {
    QString text = m_parser.helpText();
    const QString startedAs = QStringLiteral("Usage: ") + QCoreApplication::arguments().constFirst();
    if (text.startsWith(startedAs)) {
        text.replace(0, startedAs.size(), QStringLiteral("Usage: zentrel"));
    }
    return text;
}
