#include "core/objectstore/Archivable.h"

#include <QHash>

namespace {

// Filled at start-up and by tests on the main thread, like the rest of the store.
QHash<QString, Archivable::Decoder>& decoders() {
    static QHash<QString, Archivable::Decoder> registered;
    return registered;
}

} // namespace

void Archivable::registerClass(const QString& className, Decoder decoder) {
    decoders().insert(className, std::move(decoder));
}

bool Archivable::isRegisteredClass(const QString& className) {
    return decoders().contains(className);
}

std::shared_ptr<const Archivable> Archivable::decode(const QString& className, const KeyedArchive& archive) {
    const auto found = decoders().constFind(className);
    if (found == decoders().constEnd() || !*found) {
        return nullptr;
    }
    return (*found)(archive);
}
