#include "core/events/Account.h"

#include "core/eventstore/EKCalendar.h"
#include "core/eventstore/EKSource.h"

#include <QStringList>

namespace {

// How the platform writes a missing object into a formatted string.
const QString nullText = QStringLiteral("(null)");

QString codeForSourceType(EKSourceType type) {
    switch (type) {
    case EKSourceType::Local:
        return QStringLiteral("10");
    case EKSourceType::Exchange:
        return QStringLiteral("20");
    case EKSourceType::CalDAV:
        return QStringLiteral("30");
    case EKSourceType::MobileMe:
        return QStringLiteral("40");
    case EKSourceType::Subscribed:
        return QStringLiteral("50");
    case EKSourceType::Birthdays:
        return QStringLiteral("60");
    }
    return QStringLiteral("45");
}

QString codeForCalendarType(EKCalendarType type) {
    switch (type) {
    case EKCalendarType::Local:
        return QStringLiteral("11");
    case EKCalendarType::Exchange:
        return QStringLiteral("21");
    case EKCalendarType::CalDAV:
        return QStringLiteral("31");
    case EKCalendarType::Subscription:
        return QStringLiteral("51");
    case EKCalendarType::Birthday:
        return QStringLiteral("61");
    }
    return QStringLiteral("45");
}

} // namespace

namespace Account {

QString identifier(const EKCalendar& calendar) {
    if (std::optional<QString> platformIdentifier = identifierUsingiOS5Identifier(calendar)) {
        return *platformIdentifier;
    }
    if (std::optional<QString> sourceTitleIdentifier = identifierUsingSourceTitle(calendar)) {
        return *sourceTitleIdentifier;
    }
    return identifierUsingAccountFromDescription(calendar);
}

std::optional<QString> identifierUsingiOS5Identifier(const EKCalendar& calendar) {
    const QString platformIdentifier = calendar.calendarIdentifier();
    if (platformIdentifier.isEmpty()) {
        return std::nullopt;
    }
    return platformIdentifier;
}

std::optional<QString> identifierUsingSourceTitle(const EKCalendar& calendar) {
    const std::shared_ptr<const EKSource> source = calendar.source();
    if (!source) {
        return std::nullopt;
    }
    return QStringLiteral("%1:%2").arg(source->title(), calendar.title());
}

QString identifierUsingAccountFromDescription(const EKCalendar& calendar) {
    return QStringLiteral("%1:%2").arg(accountFromDescription(calendar).value_or(nullText), calendar.title());
}

std::optional<QString> accountFromDescription(const EKCalendar& calendar) {
    const QString description = calendar.descriptionText();
    const qsizetype open = description.indexOf(QLatin1Char('{'));
    const qsizetype close = description.indexOf(QLatin1Char('}'));
    if (open < 0 || close < open) {
        return std::nullopt;
    }
    // From just after "{", as long as the distance from "{" to "}": the text ends with the "}".
    const QString entries = description.mid(open + 1, close - open);
    for (const QString& entry : entries.split(QStringLiteral("; "))) {
        const QStringList parts = entry.split(QStringLiteral(" = "));
        if (parts.size() != 2) {
            continue;
        }
        if (parts[0] == QLatin1String("account")) {
            if (parts[1] == nullText) {
                return std::nullopt;
            }
            return parts[1];
        }
    }
    return std::nullopt;
}

QString uniqueSortableCategoryId(const EKCalendar& calendar) {
    const std::shared_ptr<const EKSource> source = calendar.source();
    return source ? codeForSourceType(source->sourceType()) : codeForCalendarType(calendar.type());
}

QString uniqueSortableSourceId(const EKCalendar& calendar) {
    const std::shared_ptr<const EKSource> source = calendar.source();
    return QStringLiteral("%1|%2|%3")
        .arg(uniqueSortableCategoryId(calendar), source ? source->title() : nullText,
             source ? source->sourceIdentifier() : nullText);
}

} // namespace Account
