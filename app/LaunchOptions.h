#pragma once

#include <QString>
#include <QStringList>

// The program's command-line options: `--tablet` (the tablet layouts), `--scale N` (screen
// scale 1, 2 or 3; 2 by default) and `--screenshot FILE.png` (draw the screen once its first
// content is loaded, save it and exit; no display needed). The data folder options are read by
// Paths.
struct LaunchOptions {
    bool tablet = false;
    double scale = 2.0;
    QString screenshotPath;
    // Empty unless an option was wrong; says which and why.
    QString error;

    // Reads the options from the arguments (the program name first).
    static LaunchOptions parse(const QStringList& arguments);
};
