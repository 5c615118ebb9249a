#include "kit/Font.h"

#include "foundation/Log.h"

#include <QFile>
#include <QFont>
#include <QFontDatabase>
#include <QRawFont>

#include <cmath>
#include <map>
#include <mutex>
#include <utility>

struct Font::Data {
    bool bold = false;
    double size = 17.0;
    QRawFont raw;
    std::vector<QRawFont> fallbacks;
};

namespace {

const QString fontFolder = QStringLiteral("/usr/share/fonts/truetype/liberation2/");

// The faces read once per process, at a nominal size; each font copies them to its own size.
struct Faces {
    QRawFont regular;
    QRawFont bold;
    std::vector<QRawFont> fallbacks;
    std::vector<QRawFont> boldFallbacks;
};

QRawFont loadFace(const QString& fileName, bool bold) {
    const QString path = fontFolder + fileName;
    QFile file(path);
    if (file.open(QIODevice::ReadOnly)) {
        const QByteArray data = file.readAll();
        // Registering the file lets Qt's own widgets (the text field's line edit) find the family.
        if (QFontDatabase::addApplicationFontFromData(data) < 0) {
            Log::error("fonts", QStringLiteral("Qt refused the font file %1").arg(path));
        }
        QRawFont raw(data, 12.0, QFont::PreferNoHinting);
        if (raw.isValid()) {
            return raw;
        }
    }
    Log::error("fonts", QStringLiteral("The system font %1 is missing; install fonts-liberation2. "
                                       "Text falls back to whatever sans-serif face the system offers.")
                            .arg(path));
    QFont substitute(QStringLiteral("Sans"));
    substitute.setBold(bold);
    substitute.setPixelSize(12);
    substitute.setHintingPreference(QFont::PreferNoHinting);
    return QRawFont::fromFont(substitute);
}

std::vector<QRawFont> loadFallbacks(bool bold) {
    std::vector<QRawFont> result;
    for (const char* family : {"DejaVu Sans", "Noto Sans Symbols", "Noto Sans Symbols2"}) {
        QFont font{QString::fromLatin1(family)};
        font.setBold(bold);
        font.setPixelSize(12);
        font.setHintingPreference(QFont::PreferNoHinting);
        font.setStyleStrategy(QFont::NoFontMerging);
        QRawFont raw = QRawFont::fromFont(font);
        if (raw.isValid() && raw.familyName() == QString::fromLatin1(family)) {
            result.push_back(raw);
        }
    }
    return result;
}

const Faces& faces() {
    static const Faces loaded = [] {
        Faces result;
        result.regular = loadFace(QStringLiteral("LiberationSans-Regular.ttf"), false);
        result.bold = loadFace(QStringLiteral("LiberationSans-Bold.ttf"), true);
        result.fallbacks = loadFallbacks(false);
        result.boldFallbacks = loadFallbacks(true);
        return result;
    }();
    return loaded;
}

QRawFont atSize(const QRawFont& face, double size) {
    QRawFont copy = face;
    copy.setPixelSize(size);
    return copy;
}

std::shared_ptr<const Font::Data> dataFor(bool bold, double size) {
    static std::mutex mutex;
    static std::map<std::pair<bool, double>, std::shared_ptr<const Font::Data>> cache;
    const double safeSize = std::isfinite(size) && size > 0.0 ? size : 1.0;
    const std::lock_guard<std::mutex> lock(mutex);
    std::shared_ptr<const Font::Data>& entry = cache[{bold, safeSize}];
    if (!entry) {
        const Faces& all = faces();
        auto data = std::make_shared<Font::Data>();
        data->bold = bold;
        data->size = safeSize;
        data->raw = atSize(bold ? all.bold : all.regular, safeSize);
        for (const QRawFont& fallback : bold ? all.boldFallbacks : all.fallbacks) {
            data->fallbacks.push_back(atSize(fallback, safeSize));
        }
        entry = data;
    }
    return entry;
}

} // namespace

Font::Font() : Font(dataFor(false, 17.0)) {}

Font::Font(std::shared_ptr<const Data> data) : m_data(std::move(data)) {}

Font Font::systemFontOfSize(double size) {
    return Font(dataFor(false, size));
}

Font Font::boldSystemFontOfSize(double size) {
    return Font(dataFor(true, size));
}

Font Font::fontWithName(const QString& name, double size) {
    static const std::map<QString, bool> known = {
        {QStringLiteral("Helvetica"), false},       {QStringLiteral("Helvetica-Bold"), true},
        {QStringLiteral("HelveticaNeue"), false},   {QStringLiteral("HelveticaNeue-Bold"), true},
        {QStringLiteral("ArialMT"), false},         {QStringLiteral("Arial-BoldMT"), true},
        {QStringLiteral("LiberationSans"), false},  {QStringLiteral("LiberationSans-Bold"), true},
        {QStringLiteral("Liberation Sans"), false},
    };
    const auto it = known.find(name);
    if (it != known.end()) {
        return Font(dataFor(it->second, size));
    }
    Log::warning("fonts", QStringLiteral("Unknown font name \"%1\"; using the system font").arg(name));
    return Font(dataFor(name.contains(QStringLiteral("Bold"), Qt::CaseInsensitive), size));
}

Font Font::fontWithSize(double size) const {
    return Font(dataFor(m_data->bold, size));
}

QString Font::fontName() const {
    return m_data->bold ? QStringLiteral("LiberationSans-Bold") : QStringLiteral("LiberationSans");
}

QString Font::familyName() const {
    return m_data->raw.familyName();
}

bool Font::isBold() const {
    return m_data->bold;
}

double Font::pointSize() const {
    return m_data->size;
}

double Font::ascender() const {
    return m_data->raw.ascent();
}

double Font::descender() const {
    return -m_data->raw.descent();
}

double Font::leading() const {
    return m_data->raw.leading();
}

double Font::lineHeight() const {
    return ascender() - descender() + leading();
}

double Font::capHeight() const {
    return m_data->raw.capHeight();
}

double Font::xHeight() const {
    return m_data->raw.xHeight();
}

bool Font::operator==(const Font& other) const {
    return m_data->bold == other.m_data->bold && m_data->size == other.m_data->size;
}

const QRawFont& Font::rawFont() const {
    return m_data->raw;
}

const std::vector<QRawFont>& Font::fallbackRawFonts() const {
    return m_data->fallbacks;
}
