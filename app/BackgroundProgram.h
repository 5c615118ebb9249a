#pragma once

// `orvella --background`: no window and no display, only the reminders. The program sleeps
// until the next reminder is due or the store, the settings' zone or the clock changes, and
// stands by while a window delivers. Started by the desktop at login.
class BackgroundProgram {
public:
    // Runs until the desktop ends the program; returns its exit status.
    static int run(int argc, char** argv);
};
