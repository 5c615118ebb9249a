#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QString>
#include <QStringList>

// The folders the application keeps its files in. The data folder is `orvella` in the
// platform's data folder ($XDG_DATA_HOME, ~/.local/share by default) unless overridden, in this
// order of precedence, by setDataDirectory() or the command-line option `--data-dir <dir>`,
// then the environment variable ORVELLA_DATA_DIR. The configuration folder is `orvella` in the
// platform's configuration folder ($XDG_CONFIG_HOME, ~/.config by default), or the data folder
// itself when that is overridden, so that a run with its own data folder shares nothing with
// other runs. Folders are created on first use. Earlier versions kept both folders one level
// deeper, in `Orvella/Orvella`; the first use of a folder in a run moves it from there, whole or
// not at all, unless the new place exists already (the old folder is then left alone). When the
// move fails the old folder is used where it is. Each move, and each one left undone, is logged.
// Thread-safe.
class Paths {
public:
    static QString dataDirectory();
    static QString configurationDirectory();

    // Overrides the data folder; an empty path removes the override.
    static void setDataDirectory(const QString& path);
    static bool isDataDirectoryOverridden();
    // Says why the folders cannot be decided, or nothing when they can. Without an override the
    // platform's folders lie in the home folder, unless XDG_DATA_HOME and XDG_CONFIG_HOME name
    // them; with HOME unset as well they would be made at the root of the file system. Each
    // program checks this before it touches a folder.
    static QString locationProblem();

    // `--data-dir DIR`, for the command-line parser of each of the application's programs.
    static QCommandLineOption dataDirectoryOption();
    // Applies the folder of `--data-dir` when `parser` read one from `arguments`, and says what
    // is wrong with the option otherwise (empty when nothing is): its folder is missing, also
    // when the parser failed because the option ended the arguments.
    static QString applyCommandLine(const QCommandLineParser& parser, const QStringList& arguments);

    // `name` inside the data folder.
    static QString dataFilePath(const QString& name);
};
