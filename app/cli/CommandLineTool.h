#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>

#include <span>

class QCommandLineParser;

// orvella-cli: imports, exports and lists the events of Orvella's store, with the same store and
// settings as the application. Each command is an entry of the command table (its name, usage,
// description, options and arguments) and a member function that runs it on what its own parser
// read.
class CommandLineTool {
public:
    // Exit statuses.
    static constexpr int success = 0;
    static constexpr int failure = 1;
    static constexpr int wrongUsage = 2;
    // An import that skipped some of the file's events and imported the others.
    static constexpr int partialSuccess = 3;

    CommandLineTool(QTextStream& out, QTextStream& err) : m_out(out), m_err(err) {}

    // `arguments` without the program name.
    int run(const QStringList& arguments);

    static QString helpText();

private:
    struct Command;
    static std::span<const Command> commands();

    int runCommand(const Command& command, const QStringList& arguments);
    // Says what is wrong with the zone, or nothing when it is applied.
    static QString applyTimeZone(const QString& zoneName);

    // Report a problem on stderr and give the exit status for it; a usage problem with the usage
    // of the command being run (or of the program before one is known).
    int reportWrongUsage(const QString& problem);
    int reportFailure(const QString& problem);

    int importCommand(const QCommandLineParser& parser);
    int exportCommand(const QCommandLineParser& parser);
    int subscribeCommand(const QCommandLineParser& parser);
    int calendarsCommand(const QCommandLineParser& parser);
    int weekCommand(const QCommandLineParser& parser);
    int occurrencesCommand(const QCommandLineParser& parser);
    int searchCommand(const QCommandLineParser& parser);
    int accountCommand(const QCommandLineParser& parser);
    int syncCommand(const QCommandLineParser& parser);

    QTextStream& m_out;
    QTextStream& m_err;
    const Command* m_command = nullptr;
};
