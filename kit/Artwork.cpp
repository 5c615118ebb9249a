#include "kit/Artwork.h"

#include "foundation/Log.h"
#include "kit/GraphicsContext.h"

#include <map>
#include <mutex>
#include <set>
#include <utility>

namespace {

struct Entry {
    Size size;
    Artwork::DrawFunction draw;
    std::map<double, Image> drawn;
    unsigned generation = 0;
};

struct Registry {
    // Recursive: a drawing function may use other artwork.
    std::recursive_mutex mutex;
    std::map<QString, Entry> entries;
    std::set<QString> warned;
    double scale = 2.0;
    unsigned nextGeneration = 1;
};

Registry& registry() {
    static Registry instance;
    return instance;
}

} // namespace

void Artwork::registerImage(const QString& name, Size size, DrawFunction draw) {
    Registry& all = registry();
    const std::lock_guard<std::recursive_mutex> lock(all.mutex);
    all.entries[name] = Entry{size, std::move(draw), {}, all.nextGeneration++};
}

bool Artwork::isRegistered(const QString& name) {
    Registry& all = registry();
    const std::lock_guard<std::recursive_mutex> lock(all.mutex);
    return all.entries.contains(name);
}

Image Artwork::imageNamed(const QString& name) {
    Registry& all = registry();
    const std::lock_guard<std::recursive_mutex> lock(all.mutex);
    const auto it = all.entries.find(name);
    if (it == all.entries.end()) {
        if (all.warned.insert(name).second) {
            Log::warning("artwork", QStringLiteral("No image named \"%1\"").arg(name));
        }
        return {};
    }
    Entry& entry = it->second;
    const double scale = all.scale;
    const auto drawn = entry.drawn.find(scale);
    if (drawn != entry.drawn.end()) {
        return drawn->second;
    }
    const Size size = entry.size;
    const DrawFunction draw = entry.draw;
    const unsigned generation = entry.generation;
    Image image = Image::draw(size, scale, [&](GraphicsContext& context) {
                      if (draw) {
                          draw(context, size);
                      }
                  }).named(name);
    // The entry may have been replaced while drawing; look it up again.
    const auto again = all.entries.find(name);
    if (again != all.entries.end() && again->second.generation == generation) {
        again->second.drawn[scale] = image;
    }
    return image;
}

void Artwork::drawThrough(GraphicsContext& context, const QString& name, const Rect& rect,
                          const std::function<void(GraphicsContext& context, const Rect& rect)>& draw) {
    if (!isRegistered(name)) {
        registerImage(name, rect.size(),
                      [draw](GraphicsContext& into, Size size) { draw(into, Rect(Point(), size)); });
    }
    const Image image = imageNamed(name);
    if (context.landsPixelForPixel(image, rect)) {
        context.drawImage(image, rect);
    } else {
        draw(context, rect);
    }
}

double Artwork::screenScale() {
    Registry& all = registry();
    const std::lock_guard<std::recursive_mutex> lock(all.mutex);
    return all.scale;
}

void Artwork::setScreenScale(double scale) {
    Registry& all = registry();
    const std::lock_guard<std::recursive_mutex> lock(all.mutex);
    all.scale = scale > 0.0 ? scale : 1.0;
}
