#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>

#include <functional>

// Not included: the meta-object compiler cannot read the standard library's C++20 headers that
// Date.h brings in.
class Date;

// Decides which of the running programs delivers reminders: the one that owns a well-known name
// on the session bus, one name per data folder. The bus itself queues the others and hands the
// name to the next in line when its owner quits or crashes, so standing by costs no wake-up. The
// window takes the name over from the background program and holds it while it runs; the
// background program lets it go and waits in the queue. The owner also answers the others: a
// notification keeps talking to the program that showed it, which may no longer deliver.
class ReminderDeliveryLock final : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.orvella.Orvella.Reminders")

public:
    enum class Claim { TakeOver, WaitInLine };

    ReminderDeliveryLock(QDBusConnection connection, Claim claim);
    ~ReminderDeliveryLock() override;

    // The name for the data folder in use.
    static QString serviceName();

    // Asks the bus for the name; onAcquired runs once it is ours (at once or later).
    void claim();
    bool held() const { return m_held; }

    // Ask the owner, from a program that does not hold the name.
    void askOwnerToShowEvent(const QString& identifier, Date startDate);
    void tellOwnerRecordChanged();

    std::function<void()> onAcquired;
    std::function<void()> onLost;
    // Calls from the other programs, made to the owner.
    std::function<void(const QString& identifier, Date startDate)> onShowEvent;
    std::function<void()> onRecordChanged;

public Q_SLOTS:
    Q_SCRIPTABLE void ShowEvent(const QString& identifier, double startSeconds);
    Q_SCRIPTABLE void RecordChanged();

private:
    void nameAcquired(const QString& name);
    void nameLost(const QString& name);

    QDBusConnection m_connection;
    Claim m_claim;
    bool m_held = false;
};
