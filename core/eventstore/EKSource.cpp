#include "core/eventstore/EKSource.h"

EKSource::EKSource(QString sourceIdentifier, QString title, EKSourceType sourceType)
    : m_sourceIdentifier(std::move(sourceIdentifier)), m_title(std::move(title)), m_sourceType(sourceType) {}
