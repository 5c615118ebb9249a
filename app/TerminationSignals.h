#pragma once

#include <memory>

class QSocketNotifier;

// Lets the desktop's requests to end the program (SIGTERM at log-out, SIGINT, SIGHUP) end it
// through its normal path, so that work still waiting for a timer (a move written half a second
// after the rows moved) is done before the process goes. The signals are blocked from the
// constructor on, in this thread and in every thread started after it, and read as data instead:
// construct this before any other thread exists. `quitEventLoopOnArrival` needs the Qt
// application object.
class TerminationSignals {
public:
    TerminationSignals();
    ~TerminationSignals();
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

    // From now on, the arrival of one of the signals ends the Qt event loop.
    void quitEventLoopOnArrival();

private:
    int m_descriptor = -1;
    std::unique_ptr<QSocketNotifier> m_notifier;
};
