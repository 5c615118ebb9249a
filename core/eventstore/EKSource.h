#pragma once

#include <QString>

enum class EKSourceType { Local = 0, Exchange = 1, CalDAV = 2, MobileMe = 3, Subscribed = 4, Birthdays = 5 };

// An account that calendars belong to. Immutable after creation.
class EKSource {
public:
    EKSource(QString sourceIdentifier, QString title, EKSourceType sourceType);

    QString title() const { return m_title; }
    QString sourceIdentifier() const { return m_sourceIdentifier; }
    EKSourceType sourceType() const { return m_sourceType; }

private:
    QString m_sourceIdentifier;
    QString m_title;
    EKSourceType m_sourceType;
};
