#pragma once

#include "foundation/Date.h"

#include <QString>
#include <QStringList>

// The program's command-line options: `--tablet` (the tablet layouts), `--scale N` (screen
// scale 1, 2 or 3; 2 by default), `--screenshot FILE.png` (draw the screen once its first
// content is loaded, save it and exit; no display needed), `--lang CODE` (the language, instead
// of the locale's), `--background` (no window: deliver reminders), `--show-event ID@SECONDS`
// (open on the week of that occurrence, its row flashed), `--help`, `--version`, and the data
// folder option of Paths. Other arguments are .ics files to import: paths or file:// addresses.
struct LaunchOptions {
    // The program's version, as the build system gives it for the project.
    static constexpr const char* programVersion = ORVELLA_VERSION;

    bool tablet = false;
    double scale = 2.0;
    QString screenshotPath;
    bool background = false;
    // The occurrence to show: its event's identifier and its start.
    QString showEventIdentifier;
    Date showEventStart;
    // The language --lang names ("de", "fr_CH"); empty for the locale's.
    QString language;
    bool help = false;
    bool version = false;
    // The files to import, as absolute paths.
    QStringList files;
    // Whether this start may hand its files over to a running window: not for pictures, nor for a
    // data folder of its own (named with --data-dir or ORVELLA_DATA_DIR).
    bool handsOverToRunningWindow = true;
    // Empty unless an option was wrong; says which and why.
    QString error;

    // Reads the options from the arguments (the program name first) and applies the data folder.
    static LaunchOptions parse(const QStringList& arguments);
    // What --help prints: the usage and the keyboard shortcuts.
    static QString helpText();
    // The options alone, also printed after wrong usage.
    static QString usageText();
};
