#include "core/eventstore/EKCalendar.h"

#include "core/eventstore/EKEventStore.h"

#include <QUuid>

#include <cmath>

namespace {

QString typeName(EKCalendarType type) {
    switch (type) {
    case EKCalendarType::Local:
        return QStringLiteral("Local");
    case EKCalendarType::CalDAV:
        return QStringLiteral("CalDAV");
    case EKCalendarType::Exchange:
        return QStringLiteral("Exchange");
    case EKCalendarType::Subscription:
        return QStringLiteral("Subscription");
    case EKCalendarType::Birthday:
        return QStringLiteral("Birthday");
    }
    return QStringLiteral("Local");
}

} // namespace

std::shared_ptr<EKCalendar> EKCalendar::calendarWithEventStore(EKEventStore& store) {
    return std::make_shared<EKCalendar>(QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper(),
                                        EKCalendarType::Local, store.localSource());
}

EKCalendar::EKCalendar(QString calendarIdentifier, EKCalendarType type,
                       std::shared_ptr<const EKSource> source)
    : m_calendarIdentifier(std::move(calendarIdentifier)), m_type(type), m_source(std::move(source)) {}

void EKCalendar::setTitle(QString title) {
    m_title = std::move(title);
}

void EKCalendar::setColor(std::optional<Color> color) {
    m_color = color;
}

bool EKCalendar::allowsContentModifications() const {
    return !isImmutable() && !m_readOnly;
}

void EKCalendar::setReadOnly(bool readOnly) {
    m_readOnly = readOnly;
}

bool EKCalendar::isImmutable() const {
    return isImmutableType(m_type);
}

bool EKCalendar::isImmutableType(EKCalendarType type) {
    return type == EKCalendarType::Subscription || type == EKCalendarType::Birthday;
}

void EKCalendar::setSource(std::shared_ptr<const EKSource> source) {
    m_source = std::move(source);
}

QString EKCalendar::descriptionText() const {
    const QString color = m_color ? m_color->hexString() : QStringLiteral("(null)");
    const QString account = m_source ? m_source->title() : QStringLiteral("(null)");
    // The account comes first: readers split the entries at "; " and the last one keeps the "}".
    return QStringLiteral(
               "EKCalendar <0x%1> {account = %6; title = %2; type = %3; allowsModify = %4; color = %5;}")
        .arg(QString::number(reinterpret_cast<quintptr>(this), 16), m_title, typeName(m_type),
             allowsContentModifications() ? QStringLiteral("YES") : QStringLiteral("NO"), color, account);
}

bool EKCalendar::isEqual(const EKCalendar& other) const {
    return m_calendarIdentifier == other.m_calendarIdentifier;
}

void EKCalendar::setSubscriptionPath(QString path) {
    m_subscriptionPath = std::move(path);
}

std::shared_ptr<EKCalendar> EKCalendar::copy() const {
    return std::make_shared<EKCalendar>(*this);
}
