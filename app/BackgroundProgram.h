#pragma once

#include <QString>

// `orvella --background`: no window and no display, only the reminders. The program sleeps
// until the next reminder is due or the store, the settings' zone or the clock changes, and
// stands by while a window delivers. Started by the desktop at login.
//
// It runs as its own small executable, orvella-background, which lacks the window's toolkit
// libraries and so keeps less in memory for the whole session: `orvella --background` turns
// itself into that program and runs the reminders in place only when it is missing.
class BackgroundProgram {
public:
    // Runs until the desktop ends the program; returns its exit status. "Open" on a reminder
    // starts `windowProgram` (this program when empty).
    static int run(int argc, char** argv, const QString& windowProgram);

    // Replaces this process with orvella-background found beside this program (in the build) or
    // in the installed helper folder, passing the data folder and this program as the window's.
    // Returns only when there is none to run.
    static void replaceWithBackgroundExecutable();
};
