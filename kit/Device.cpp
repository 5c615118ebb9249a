#include "kit/Device.h"

#include <QStringList>
#include <QSysInfo>

#include <array>
#include <utility>

namespace {

// Compares dotted version texts number by number; non-numeric parts count as 0.
int compareVersions(const QString& left, const QString& right) {
    const QStringList leftParts = left.split('.');
    const QStringList rightParts = right.split('.');
    const qsizetype count = std::max(leftParts.size(), rightParts.size());
    for (qsizetype i = 0; i < count; ++i) {
        const long long l = i < leftParts.size() ? leftParts[i].toLongLong() : 0;
        const long long r = i < rightParts.size() ? rightParts[i].toLongLong() : 0;
        if (l != r) {
            return l < r ? -1 : 1;
        }
    }
    return 0;
}

} // namespace

Device& Device::current() {
    static Device device;
    return device;
}

Device::Device()
    : m_platformString(QSysInfo::currentCpuArchitecture()), m_systemVersion(QSysInfo::productVersion()) {}

int Device::platform() const {
    static const std::array<std::pair<const char*, int>, 10> known = {{
        {"i386", 0},
        {"iPod1,1", 1},
        {"iPod2,1", 2},
        {"iPod3,1", 3},
        {"iPod4,1", 4},
        {"iPhone1,1", 5},
        {"iPhone1,2", 6},
        {"iPhone2,1", 7},
        {"iPhone3,1", 8},
        {"iPad1,1", 9},
    }};
    for (const auto& [identifier, value] : known) {
        if (m_platformString == QLatin1String(identifier)) {
            return value;
        }
    }
    return 10;
}

bool Device::isOlderGeneration() const {
    const int value = platform();
    return value == 1 || value == 2 || value == 5 || value == 6;
}

bool Device::isAtLeastVersion(const QString& version) const {
    return compareVersions(m_systemVersion, version) >= 0;
}
