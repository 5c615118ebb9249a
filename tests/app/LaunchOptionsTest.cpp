#include "app/LaunchOptions.h"

#include <QDir>

#include <gtest/gtest.h>

namespace {

LaunchOptions parse(std::initializer_list<const char*> arguments) {
    QStringList list{QStringLiteral("orvella")};
    for (const char* argument : arguments) {
        list << QString::fromUtf8(argument);
    }
    return LaunchOptions::parse(list);
}

TEST(LaunchOptionsTest, DefaultsAreThePhoneAtScaleTwoOnScreen) {
    const LaunchOptions options = parse({});
    EXPECT_FALSE(options.tablet);
    EXPECT_EQ(options.scale, 2.0);
    EXPECT_TRUE(options.screenshotPath.isEmpty());
    EXPECT_TRUE(options.error.isEmpty());
}

TEST(LaunchOptionsTest, ReadsEachOptionInBothForms) {
    const LaunchOptions options = parse({"--tablet", "--scale", "1", "--screenshot=/tmp/a b.png"});
    EXPECT_TRUE(options.tablet);
    EXPECT_EQ(options.scale, 1.0);
    EXPECT_EQ(options.screenshotPath, QStringLiteral("/tmp/a b.png"));
    EXPECT_EQ(parse({"--scale=3"}).scale, 3.0);
    EXPECT_EQ(parse({"--screenshot", "shot.png"}).screenshotPath, QStringLiteral("shot.png"));
    EXPECT_EQ(parse({"--lang", "de"}).language, QStringLiteral("de"));
    EXPECT_EQ(parse({"--lang=fr_CH"}).language, QStringLiteral("fr_CH"));
    EXPECT_TRUE(options.language.isEmpty());
    // Files as a file manager passes them, made absolute; a picture never hands them over.
    EXPECT_EQ(parse({"/tmp/a.ics", "file:///tmp/b%20c.ics", "d.ics"}).files,
              (QStringList{"/tmp/a.ics", "/tmp/b c.ics", QDir::current().absoluteFilePath("d.ics")}));
    EXPECT_FALSE(options.handsOverToRunningWindow);
}

TEST(LaunchOptionsTest, WrongOptionsSayWhatWasWrong) {
    EXPECT_EQ(parse({"--scale", "1.5"}).error, QStringLiteral("--scale takes 1, 2 or 3, not \"1.5\""));
    EXPECT_EQ(parse({"--scale"}).error, QStringLiteral("--scale takes 1, 2 or 3, not \"\""));
    EXPECT_EQ(parse({"--scale=x"}).error, QStringLiteral("--scale takes 1, 2 or 3, not \"x\""));
    EXPECT_FALSE(parse({"--screenshot"}).error.isEmpty());
    EXPECT_EQ(parse({"--lang", "german!"}).error,
              QStringLiteral("--lang takes a language code such as de, fr or en, not \"german!\""));
    EXPECT_EQ(parse({"--lang"}).error,
              QStringLiteral("--lang takes a language code such as de, fr or en, not \"\""));
    EXPECT_TRUE(parse({"--tabletx"}).error.startsWith(QStringLiteral("unknown option \"--tabletx\"")));
    EXPECT_EQ(parse({"https://example.org/week.ics"}).error,
              QStringLiteral("\"https://example.org/week.ics\" is no local file: only .ics files on this "
                             "computer can be imported (see --help)"));
}

TEST(LaunchOptionsTest, HelpAndVersion) {
    EXPECT_TRUE(parse({"--help"}).help);
    EXPECT_TRUE(parse({"-h"}).help);
    EXPECT_TRUE(parse({"--version"}).version);
    for (const char* option : {"--tablet", "--scale", "--screenshot", "--lang", "--data-dir", "--version"}) {
        EXPECT_TRUE(LaunchOptions::helpText().contains(QLatin1String(option))) << option;
    }
}

} // namespace
