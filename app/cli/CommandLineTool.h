#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>

#include <optional>

class EKEventStore;

// orvella-cli: imports, exports and lists the events of Orvella's store, with the same store and
// settings as the application.
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
    int run(QStringList arguments);

    static QString helpText();

private:
    int runCommand(const QString& command, QStringList& arguments);
    void applyTimeZone(const std::optional<QString>& zoneName);

    int importCommand(QStringList& arguments);
    int exportCommand(QStringList& arguments);
    int subscribeCommand(QStringList& arguments);
    int calendarsCommand(QStringList& arguments);
    int weekCommand(QStringList& arguments);
    int occurrencesCommand(QStringList& arguments);
    int searchCommand(QStringList& arguments);

    QTextStream& m_out;
    QTextStream& m_err;
};
