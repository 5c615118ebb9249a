#include "app/TerminationSignals.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <pthread.h>
#include <sys/signalfd.h>
#include <unistd.h>

namespace {

sigset_t terminationSignalSet() {
    sigset_t terminationSet;
    sigemptyset(&terminationSet);
    sigaddset(&terminationSet, SIGTERM);
    sigaddset(&terminationSet, SIGINT);
    sigaddset(&terminationSet, SIGHUP);
    return terminationSet;
}

} // namespace

TerminationSignals::TerminationSignals() {
    const sigset_t terminationSet = terminationSignalSet();
    // Without a descriptor the terminationSet keep their default action, as before.
    m_descriptor = signalfd(-1, &terminationSet, SFD_CLOEXEC | SFD_NONBLOCK);
    if (m_descriptor >= 0) {
        pthread_sigmask(SIG_BLOCK, &terminationSet, nullptr);
    }
}

TerminationSignals::~TerminationSignals() {
    m_notifier.reset();
    if (m_descriptor >= 0) {
        const sigset_t terminationSet = terminationSignalSet();
        pthread_sigmask(SIG_UNBLOCK, &terminationSet, nullptr);
        close(m_descriptor);
    }
}

void TerminationSignals::quitEventLoopOnArrival() {
    if (m_descriptor < 0 || m_notifier) {
        return;
    }
    m_notifier = std::make_unique<QSocketNotifier>(m_descriptor, QSocketNotifier::Read);
    const int descriptor = m_descriptor;
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, [descriptor] {
        signalfd_siginfo info{};
        while (read(descriptor, &info, sizeof info) == static_cast<ssize_t>(sizeof info)) {
        }
        QCoreApplication::exit(0);
    });
}
