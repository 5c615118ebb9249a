#include "app/ReminderCenter.h"

#include "app/ClockJumpWatcher.h"
#include "app/DesktopNotifications.h"
#include "app/ReminderDeliveryLock.h"
#include "core/reminders/ReminderRecord.h"
#include "core/reminders/ReminderSchedule.h"
#include "foundation/Localization.h"
#include "foundation/Log.h"
#include "foundation/RunLoop.h"

#include <utility>

namespace {

const QString openAction = QStringLiteral("open");
const QString snoozeAction = QStringLiteral("snooze");

} // namespace

ReminderCenter::ReminderCenter(Role role, EventService& eventService, QDBusConnection connection)
    : m_role(role), m_record(std::make_shared<ReminderRecord>(ReminderRecord::defaultFilePath())),
      m_schedule(std::make_shared<ReminderSchedule>(eventService, m_record)),
      m_notifications(std::make_unique<DesktopNotifications>(connection)),
      m_lock(std::make_unique<ReminderDeliveryLock>(
          connection, role == Role::Window ? ReminderDeliveryLock::Claim::TakeOver
                                           : ReminderDeliveryLock::Claim::WaitInLine)) {}

ReminderCenter::~ReminderCenter() {
    m_schedule->stop();
}

void ReminderCenter::start() {
    const std::weak_ptr<ReminderCenter> weak = weak_from_this();
    m_schedule->onReminderDue = [weak](const Reminder& reminder) {
        if (const auto self = weak.lock()) {
            self->show(reminder);
        }
    };
    m_schedule->onRemindersMissed = [weak](const std::vector<Reminder>& reminders) {
        if (const auto self = weak.lock()) {
            self->showMissed(reminders);
        }
    };
    m_notifications->onActionInvoked = [weak](uint id, const QString& actionKey) {
        if (const auto self = weak.lock()) {
            self->actionInvoked(id, actionKey);
        }
    };
    m_notifications->onClosed = [weak](uint id) {
        if (const auto self = weak.lock()) {
            self->m_shown.erase(id);
        }
    };
    m_lock->onAcquired = [weak] {
        if (const auto self = weak.lock()) {
            self->deliveryAcquired();
        }
    };
    m_lock->onLost = [weak] {
        if (const auto self = weak.lock()) {
            self->deliveryLost();
        }
    };
    m_lock->onShowEvent = [weak](const QString& identifier, Date startDate) {
        if (const auto self = weak.lock(); self && self->toShowEvent) {
            self->toShowEvent(identifier, startDate);
        }
    };
    m_lock->onRecordChanged = [weak] {
        if (const auto self = weak.lock()) {
            self->m_schedule->recompute();
        }
    };
    m_clockJumps = std::make_unique<ClockJumpWatcher>([weak] {
        if (const auto self = weak.lock()) {
            self->m_schedule->recompute();
        }
    });
    // Without a session bus nothing could show a reminder: the notifications said so.
    m_lock->claim();
}

void ReminderCenter::deliveryAcquired() {
    Log::info(QStringLiteral("reminders"), m_role == Role::Window
                                               ? QStringLiteral("The window delivers reminders")
                                               : QStringLiteral("The background program delivers reminders"));
    if (toPrepareDelivery) {
        toPrepareDelivery();
    }
    m_schedule->start();
}

void ReminderCenter::deliveryLost() {
    Log::info(QStringLiteral("reminders"), QStringLiteral("Another program delivers reminders now"));
    m_schedule->stop();
}

void ReminderCenter::show(const Reminder& reminder) {
    const QString title =
        reminder.title.isEmpty() ? localizedString(QStringLiteral("New Event")) : reminder.title;
    const std::weak_ptr<ReminderCenter> weak = weak_from_this();
    m_notifications->notify(title, reminder.body(RunLoop::main().now()),
                            {openAction, localizedString(QStringLiteral("Open")), snoozeAction,
                             localizedString(QStringLiteral("Snooze"))},
                            [weak, reminder](uint id) {
                                if (const auto self = weak.lock(); self && id != 0) {
                                    self->m_shown.insert_or_assign(id, reminder);
                                }
                            });
}

void ReminderCenter::showMissed(const std::vector<Reminder>& reminders) {
    m_notifications->notify(Reminder::missedSummary(reminders.size()), Reminder::missedBody(reminders), {},
                            [](uint) {});
}

void ReminderCenter::actionInvoked(uint id, const QString& actionKey) {
    const auto found = m_shown.find(id);
    if (found == m_shown.end()) {
        return;
    }
    const Reminder reminder = found->second;
    if (actionKey == openAction || actionKey == QLatin1String("default")) {
        open(reminder);
    } else if (actionKey == snoozeAction) {
        snooze(reminder);
    }
}

void ReminderCenter::open(const Reminder& reminder) {
    if (m_lock->held() || m_role == Role::Window) {
        if (toShowEvent) {
            toShowEvent(reminder.eventIdentifier, reminder.startDate);
        }
        return;
    }
    // The window took over after this notification was shown.
    m_lock->askOwnerToShowEvent(reminder.eventIdentifier, reminder.startDate);
}

void ReminderCenter::snooze(const Reminder& reminder) {
    if (m_schedule->started()) {
        m_schedule->snooze(reminder);
        return;
    }
    // Written here, shown by the holder, which is told to look again.
    const Date now = RunLoop::main().now();
    m_record->recordSnoozed(reminder, now.addingTimeInterval(ReminderSchedule::snoozeInterval), now);
    m_lock->tellOwnerRecordChanged();
}
