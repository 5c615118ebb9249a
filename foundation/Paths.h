#pragma once

#include <QString>
#include <QStringList>

// The folders the application keeps its files in. The data folder is the platform's
// application data folder unless overridden, in this order of precedence, by
// setDataDirectory() or the command-line option `--data-dir <dir>`, then the environment
// variable ORVELLA_DATA_DIR. The configuration folder is the platform's application
// configuration folder, or the data folder itself when that is overridden, so that a run with
// its own data folder shares nothing with other runs. Folders are created on first use.
// Thread-safe.
class Paths {
public:
    static QString dataDirectory();
    static QString configurationDirectory();

    // Overrides the data folder; an empty path removes the override.
    static void setDataDirectory(const QString& path);
    static bool isDataDirectoryOverridden();

    struct CommandLine {
        // The arguments without the ones read here.
        QStringList arguments;
        // Empty unless an option lacked its folder.
        QString error;
    };

    // Reads and applies `--data-dir <dir>` and `--data-dir=<dir>`.
    static CommandLine applyCommandLine(const QStringList& arguments);

    // `name` inside the data folder.
    static QString dataFilePath(const QString& name);
};
