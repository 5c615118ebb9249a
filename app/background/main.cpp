#include "app/BackgroundProgram.h"
#include "foundation/Paths.h"

#include <QCommandLineParser>
#include <QStringList>
#include <QTextStream>

// orvella-background [--data-dir DIR] [--window-program PATH]: the reminders without the window,
// as `orvella --background` starts it.
int main(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments.append(QString::fromLocal8Bit(argv[i]));
    }
    QTextStream err(stderr);
    QCommandLineParser parser;
    const QCommandLineOption windowProgramOption(QStringLiteral("window-program"), QString(),
                                                 QStringLiteral("PATH"));
    parser.addOptions({Paths::dataDirectoryOption(), windowProgramOption});
    const bool parsed = parser.parse(arguments);
    QString problem = Paths::applyCommandLine(parser, arguments);
    if (problem.isEmpty() && !parsed) {
        problem = parser.errorText();
    }
    if (!problem.isEmpty()) {
        err << "orvella-background: " << problem << "\n";
        return 2;
    }
    if (const QString location = Paths::locationProblem(); !location.isEmpty()) {
        err << "orvella-background: " << location << "\n";
        return 1;
    }
    return BackgroundProgram::run(argc, argv, parser.value(windowProgramOption));
}
