#include "app/TerminationSignals.h"

#include <QEventLoop>
#include <QTimer>

#include <gtest/gtest.h>

#include <csignal>
#include <pthread.h>

// SIGTERM (log-out) ends the event loop the normal way, so the program's end-of-run work still
// happens, instead of killing the process.
TEST(TerminationSignalsTest, SigtermEndsTheEventLoopInsteadOfTheProcess) {
    TerminationSignals terminationSignals;
    terminationSignals.quitEventLoopOnArrival();
    QEventLoop loop;
    QTimer::singleShot(0, [] { pthread_kill(pthread_self(), SIGTERM); });
    QTimer::singleShot(5000, [&loop] { loop.exit(1); });
    EXPECT_EQ(loop.exec(), 0);
}
