#pragma once

#include "foundation/Date.h"

#include <QString>
#include <QStringList>

// The program's command-line options: `--tablet` (the tablet layouts), `--scale N` (screen
// scale 1, 2 or 3; 2 by default), `--screenshot FILE.png` (draw the screen once its first
// content is loaded, save it and exit; no display needed), `--background` (no window: deliver
// reminders), `--show-event ID@SECONDS` (open on the week of that occurrence, its row flashed),
// `--help`, `--version`, and the data folder option of Paths.
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
    bool help = false;
    bool version = false;
    // Empty unless an option was wrong; says which and why.
    QString error;

    // Reads the options from the arguments (the program name first) and applies the data folder.
    static LaunchOptions parse(const QStringList& arguments);
    // What --help prints.
    static QString helpText();
};
