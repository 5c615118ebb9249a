#include "kit/Font.h"

#include "foundation/Log.h"

#include <QFile>
#include <QFont>
#include <QFontDatabase>
#include <QRawFont>

#include <algorithm>
#include <cmath>
#include <map>
#include <mutex>
#include <utility>

struct Font::Data {
    bool bold = false;
    double size = 17.0;
    QRawFont raw;
    std::vector<QRawFont> fallbacks;
    QRawFont emoji;
};

namespace {

const QString fontFolder = QStringLiteral("/usr/share/fonts/truetype/liberation2/");

// The faces read once per process, at a nominal size; each font copies them to its own size.
struct Faces {
    QRawFont regular;
    QRawFont bold;
    std::vector<QRawFont> fallbacks;
    std::vector<QRawFont> boldFallbacks;
    QRawFont emoji;
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

// The colour emoji face of fonts-noto-color-emoji, or an invalid face when it is not installed.
// It has one weight, for regular and bold text alike.
QRawFont loadEmojiFace() {
    const QString family = QStringLiteral("Noto Color Emoji");
    QFont font(family);
    font.setPixelSize(12);
    font.setStyleStrategy(QFont::NoFontMerging);
    QRawFont raw = QRawFont::fromFont(font);
    return raw.isValid() && raw.familyName() == family ? raw : QRawFont();
}

const Faces& faces() {
    static const Faces loaded = [] {
        Faces result;
        result.regular = loadFace(QStringLiteral("LiberationSans-Regular.ttf"), false);
        result.bold = loadFace(QStringLiteral("LiberationSans-Bold.ttf"), true);
        result.fallbacks = loadFallbacks(false);
        result.boldFallbacks = loadFallbacks(true);
        result.emoji = loadEmojiFace();
        return result;
    }();
    return loaded;
}

QRawFont atSize(const QRawFont& face, double size) {
    QRawFont copy = face;
    copy.setPixelSize(size);
    return copy;
}

double safeSize(double size) {
    return std::isfinite(size) && size > 0.0 ? size : 1.0;
}

const Font::Data& dataFor(bool bold, double size) {
    static std::mutex mutex;
    static std::map<std::pair<bool, double>, std::shared_ptr<const Font::Data>> cache;
    const std::lock_guard<std::mutex> lock(mutex);
    std::shared_ptr<const Font::Data>& entry = cache[{bold, size}];
    if (!entry) {
        const Faces& all = faces();
        auto data = std::make_shared<Font::Data>();
        data->bold = bold;
        data->size = size;
        data->raw = atSize(bold ? all.bold : all.regular, size);
        for (const QRawFont& fallback : bold ? all.boldFallbacks : all.fallbacks) {
            data->fallbacks.push_back(atSize(fallback, size));
        }
        if (all.emoji.isValid()) {
            data->emoji = atSize(all.emoji, size);
        }
        entry = data;
    }
    return *entry;
}

} // namespace

Font::Font() = default;

Font::Font(bool bold, double size) : m_bold(bold), m_size(safeSize(size)) {}

const Font::Data& Font::data() const {
    return dataFor(m_bold, m_size);
}

Font Font::systemFontOfSize(double size) {
    return Font(false, size);
}

Font Font::boldSystemFontOfSize(double size) {
    return Font(true, size);
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
        return Font(it->second, size);
    }
    Log::warning("fonts", QStringLiteral("Unknown font name \"%1\"; using the system font").arg(name));
    return Font(name.contains(QStringLiteral("Bold"), Qt::CaseInsensitive), size);
}

Font Font::fontWithSize(double size) const {
    return Font(m_bold, size);
}

QString Font::fontName() const {
    return m_bold ? QStringLiteral("LiberationSans-Bold") : QStringLiteral("LiberationSans");
}

QString Font::familyName() const {
    return data().raw.familyName();
}

bool Font::isBold() const {
    return m_bold;
}

double Font::pointSize() const {
    return m_size;
}

double Font::ascender() const {
    return data().raw.ascent();
}

double Font::descender() const {
    return -data().raw.descent();
}

double Font::leading() const {
    return data().raw.leading();
}

double Font::lineHeight() const {
    return ascender() - descender() + leading();
}

double Font::capHeight() const {
    return data().raw.capHeight();
}

double Font::xHeight() const {
    return data().raw.xHeight();
}

bool Font::operator==(const Font& other) const {
    return m_bold == other.m_bold && m_size == other.m_size;
}

const QRawFont& Font::rawFont() const {
    return data().raw;
}

const std::vector<QRawFont>& Font::fallbackRawFonts() const {
    return data().fallbacks;
}

const QRawFont& Font::emojiRawFont() const {
    return data().emoji;
}

QFont Font::qFont() const {
    faces();
    QFont font(QStringLiteral("Liberation Sans"));
    font.setBold(m_bold);
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(m_size))));
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}
