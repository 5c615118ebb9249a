#include "app/ClockJumpWatcher.h"

#include "foundation/Log.h"

#include <QSocketNotifier>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <sys/timerfd.h>
#include <unistd.h>

#include <utility>

ClockJumpWatcher::ClockJumpWatcher(std::function<void()> onJump) : m_onJump(std::move(onJump)) {
    m_descriptor = timerfd_create(CLOCK_REALTIME, TFD_NONBLOCK | TFD_CLOEXEC);
    if (m_descriptor < 0 || !arm()) {
        Log::warning(QStringLiteral("reminders"), QStringLiteral("Cannot watch the clock for jumps: %1")
                                                      .arg(QString::fromLocal8Bit(std::strerror(errno))));
        return;
    }
    m_notifier = std::make_unique<QSocketNotifier>(static_cast<qintptr>(m_descriptor), QSocketNotifier::Read);
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, m_notifier.get(), [this] { readJump(); });
}

ClockJumpWatcher::~ClockJumpWatcher() {
    m_notifier.reset();
    if (m_descriptor >= 0) {
        ::close(m_descriptor);
    }
}

bool ClockJumpWatcher::arm() {
    itimerspec farAway{};
    // The largest time a 32-bit time_t holds: never reached, so only cancellations arrive.
    farAway.it_value.tv_sec = 0x7fffffff;
    return timerfd_settime(m_descriptor, TFD_TIMER_ABSTIME | TFD_TIMER_CANCEL_ON_SET, &farAway, nullptr) == 0;
}

void ClockJumpWatcher::readJump() {
    std::uint64_t expirations = 0;
    // ECANCELED says the clock was set; the timer must be armed again to hear of the next jump.
    const ssize_t read = ::read(m_descriptor, &expirations, sizeof expirations);
    if (read < 0 && errno == EAGAIN) {
        return;
    }
    arm();
    m_onJump();
}
