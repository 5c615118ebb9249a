#include "kit/NetworkReachability.h"

#include <QNetworkInformation>
#include <QObject>

namespace {

Reachability::Status statusOf(QNetworkInformation::Reachability reachability) {
    switch (reachability) {
    case QNetworkInformation::Reachability::Online:
        return Reachability::Status::Reachable;
    case QNetworkInformation::Reachability::Disconnected:
    case QNetworkInformation::Reachability::Local:
    case QNetworkInformation::Reachability::Site:
        return Reachability::Status::NotReachable;
    case QNetworkInformation::Reachability::Unknown:
        break;
    }
    return Reachability::Status::Unknown;
}

} // namespace

NetworkReachability::NetworkReachability() : m_receiver(std::make_unique<QObject>()) {
    if (!QNetworkInformation::loadBackendByFeatures(QNetworkInformation::Feature::Reachability)) {
        return;
    }
    QNetworkInformation* information = QNetworkInformation::instance();
    if (information == nullptr) {
        return;
    }
    m_status.store(statusOf(information->reachability()));
    QObject::connect(
        information, &QNetworkInformation::reachabilityChanged, m_receiver.get(),
        [this](QNetworkInformation::Reachability reachability) { m_status.store(statusOf(reachability)); });
}

NetworkReachability::~NetworkReachability() = default;
