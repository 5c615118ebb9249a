#pragma once

#include <QString>

// The log category of the event store and of its file formats.
inline const QString eventStoreLogCategory = QStringLiteral("eventstore");
