#include "app/LaunchOptions.h"

#include "core/settings/KeyboardShortcuts.h"
#include "foundation/Paths.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>

namespace {

const QString scaleName = QStringLiteral("scale");
const QString screenshotName = QStringLiteral("screenshot");
const QString showEventName = QStringLiteral("show-event");

// "IDENTIFIER@SECONDS": the identifier may hold an "@" itself, the seconds never do.
bool readShowEvent(const QString& value, LaunchOptions& options) {
    const qsizetype at = value.lastIndexOf(QLatin1Char('@'));
    bool ok = false;
    const double seconds = at > 0 ? value.mid(at + 1).toDouble(&ok) : 0.0;
    if (ok) {
        options.showEventIdentifier = value.left(at);
        options.showEventStart = Date::withTimeIntervalSince1970(seconds);
    }
    return ok;
}
const QString languageName = QStringLiteral("lang");

QString scaleProblem(const QString& value) {
    return QStringLiteral("--scale takes 1, 2 or 3, not \"%1\"").arg(value);
}

QString languageProblem(const QString& value) {
    return QStringLiteral("--lang takes a language code such as de, fr or en, not \"%1\"").arg(value);
}

// The parser's own messages name options without their dashes; ours say what to write instead.
QString parseProblem(const QCommandLineParser& parser, const QStringList& arguments) {
    if (!parser.unknownOptionNames().isEmpty()) {
        const QString name = parser.unknownOptionNames().first();
        return QStringLiteral("unknown option \"%1%2\" (see --help)")
            .arg(name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--"), name);
    }
    const QString last = arguments.isEmpty() ? QString() : arguments.last();
    if (last == QLatin1String("--") + scaleName) {
        return scaleProblem(QString());
    }
    if (last == QLatin1String("--") + languageName) {
        return languageProblem(QString());
    }
    if (last == QLatin1String("--") + screenshotName) {
        return QStringLiteral("--screenshot needs the path of the PNG file to write");
    }
    return parser.errorText();
}

} // namespace

LaunchOptions LaunchOptions::parse(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption tabletOption(QStringLiteral("tablet"));
    const QCommandLineOption scaleOption(scaleName, QString(), QStringLiteral("N"));
    const QCommandLineOption screenshotOption(screenshotName, QString(), QStringLiteral("FILE.png"));
    const QCommandLineOption languageOption(languageName, QString(), QStringLiteral("CODE"));
    const QCommandLineOption helpOption(QStringList{QStringLiteral("help"), QStringLiteral("h")});
    const QCommandLineOption versionOption(QStringLiteral("version"));
    const QCommandLineOption backgroundOption(QStringLiteral("background"));
    const QCommandLineOption showEventOption(showEventName, QString(), QStringLiteral("ID@SECONDS"));
    parser.addOptions({Paths::dataDirectoryOption(), tabletOption, scaleOption, screenshotOption,
                       languageOption, helpOption, versionOption, backgroundOption, showEventOption});

    LaunchOptions options;
    const bool parsed = parser.parse(arguments);
    options.error = Paths::applyCommandLine(parser, arguments);
    if (!options.error.isEmpty()) {
        return options;
    }
    if (!parsed) {
        options.error = parseProblem(parser, arguments);
        return options;
    }
    for (const QString& argument : parser.positionalArguments()) {
        // What a file manager passes for %F: plain paths, or file:// addresses from some.
        const QUrl url(argument);
        if (argument.startsWith(QLatin1String("file:"), Qt::CaseInsensitive) && url.isLocalFile()) {
            options.files.append(QFileInfo(url.toLocalFile()).absoluteFilePath());
        } else if (argument.contains(QLatin1String("://")) && !url.scheme().isEmpty()) {
            options.error = QStringLiteral("\"%1\" is no local file: only .ics files on this computer can be "
                                           "imported (see --help)")
                                .arg(argument);
            return options;
        } else {
            options.files.append(QFileInfo(argument).absoluteFilePath());
        }
    }
    options.help = parser.isSet(helpOption);
    options.version = parser.isSet(versionOption);
    options.tablet = parser.isSet(tabletOption);
    if (parser.isSet(scaleOption)) {
        const QString value = parser.value(scaleOption);
        bool ok = false;
        const double scale = value.toDouble(&ok);
        if (!ok || (scale != 1.0 && scale != 2.0 && scale != 3.0)) {
            options.error = scaleProblem(value);
            return options;
        }
        options.scale = scale;
    }
    if (parser.isSet(screenshotOption)) {
        options.screenshotPath = parser.value(screenshotOption);
        if (options.screenshotPath.isEmpty()) {
            options.error = QStringLiteral("--screenshot needs the path of the PNG file to write");
        }
    }
    if (parser.isSet(languageOption)) {
        options.language = parser.value(languageOption);
        static const QRegularExpression code(QStringLiteral("^[A-Za-z]{2,3}([_-][A-Za-z0-9]{2,4})?$"));
        if (!code.match(options.language).hasMatch()) {
            options.error = languageProblem(options.language);
            return options;
        }
    }
    options.handsOverToRunningWindow =
        options.screenshotPath.isEmpty() && !Paths::isDataDirectoryOverridden();
    options.background = parser.isSet(backgroundOption);
    if (parser.isSet(showEventOption) && !readShowEvent(parser.value(showEventOption), options)) {
        options.error = QStringLiteral("--show-event takes IDENTIFIER@SECONDS, not \"%1\"")
                            .arg(parser.value(showEventOption));
    }
    return options;
}

QString LaunchOptions::helpText() {
    return usageText() + QStringLiteral("\nKeyboard shortcuts (also in Settings):\n") +
           KeyboardShortcuts::asText();
}

QString LaunchOptions::usageText() {
    return QStringLiteral(
        R"(Usage: orvella [--data-dir DIR] [--tablet] [--scale 1|2|3] [--screenshot FILE.png]
              [--lang CODE] [FILE.ics...]
       orvella [--data-dir DIR] --background

Orvella, a week-planner calendar. The window needs a display (X11 or Wayland); without one, run it
under xvfb-run, or draw the screen into a picture with --screenshot.

Each FILE.ics (a path or a file:// address) opens in the import screen. One window serves each
user: while it runs, a further start hands its files to it (over the session bus) and exits.
Starts with --screenshot, --data-dir or ORVELLA_DATA_DIR never hand over; they run on their own.

Options:
  --data-dir DIR        use the data folder DIR (also ORVELLA_DATA_DIR)
  --tablet              show the tablet layouts
  --scale 1|2|3         the screen scale (2 by default)
  --screenshot FILE.png draw the screen once its first content is loaded, write it to FILE.png
                        and exit (no display needed); the status is 1 when the calendar
                        database cannot be opened
  --lang CODE           show the program in the language CODE (de, fr, en) instead of the
                        locale's (LANGUAGE, LC_ALL, LC_MESSAGES, LANG)
  --background          show no window; deliver the reminders as desktop notifications
                        while the window is closed (started at login)
  --show-event ID@SECONDS
                        show the week of the event's occurrence starting at SECONDS (since
                        1970), its row flashed
  --help                show this text
  --version             show the version

Wrong usage exits with status 2.
)");
}
