#include "app/LaunchOptions.h"

namespace {

// The value of `--name value` or `--name=value` at `index`, moving `index` past it; sets
// `missing` when there is none.
QString optionValue(const QStringList& arguments, qsizetype& index, const QString& name, bool& missing) {
    const QString& argument = arguments[index];
    if (argument.startsWith(name + QLatin1Char('='))) {
        return argument.mid(name.size() + 1);
    }
    if (index + 1 >= arguments.size()) {
        missing = true;
        return {};
    }
    return arguments[++index];
}

bool isOption(const QString& argument, const QString& name) {
    return argument == name || argument.startsWith(name + QLatin1Char('='));
}

} // namespace

LaunchOptions LaunchOptions::parse(const QStringList& arguments) {
    LaunchOptions options;
    const QString scaleOption = QStringLiteral("--scale");
    const QString screenshotOption = QStringLiteral("--screenshot");
    for (qsizetype i = 1; i < arguments.size() && options.error.isEmpty(); ++i) {
        const QString& argument = arguments[i];
        bool missing = false;
        if (argument == QLatin1String("--tablet")) {
            options.tablet = true;
        } else if (isOption(argument, scaleOption)) {
            const QString value = optionValue(arguments, i, scaleOption, missing);
            bool ok = false;
            const double scale = value.toDouble(&ok);
            if (missing || !ok || (scale != 1.0 && scale != 2.0 && scale != 3.0)) {
                options.error = QStringLiteral("--scale takes 1, 2 or 3, not \"%1\"").arg(value);
            } else {
                options.scale = scale;
            }
        } else if (isOption(argument, screenshotOption)) {
            options.screenshotPath = optionValue(arguments, i, screenshotOption, missing);
            if (missing || options.screenshotPath.isEmpty()) {
                options.error = QStringLiteral("--screenshot needs the path of the PNG file to write");
            }
        } else {
            options.error = QStringLiteral("unknown option \"%1\" (options: --tablet, --scale 1|2|3, "
                                           "--screenshot FILE.png, --data-dir FOLDER)")
                                .arg(argument);
        }
    }
    return options;
}
