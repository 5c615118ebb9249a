#include "foundation/StringUtilities.h"

#include <gtest/gtest.h>

using namespace StringUtilities;

TEST(StringUtilitiesTest, MinorVersions) {
    EXPECT_TRUE(isSameMinorVersionNumberAs("2.0.3", "2.0"));
    EXPECT_TRUE(isSameMinorVersionNumberAs("2.0", "2.0.5"));
    EXPECT_FALSE(isSameMinorVersionNumberAs("2.1", "2.0.5"));
    EXPECT_FALSE(isSameMinorVersionNumberAs("2", "2"));
    EXPECT_FALSE(isSameMinorVersionNumberAs("3.0", "2.0"));
    // Components compare as text.
    EXPECT_FALSE(isSameMinorVersionNumberAs("2.01", "2.1"));
}

TEST(StringUtilitiesTest, UppercasingTheFirstLetterKeepsTheRest) {
    EXPECT_EQ(stringByUppercasingFirstLetter("lunes"), "Lunes");
    EXPECT_EQ(stringByUppercasingFirstLetter("mONDAY"), "MONDAY");
    EXPECT_EQ(stringByUppercasingFirstLetter("ärger"), "Ärger");
    EXPECT_EQ(stringByUppercasingFirstLetter("1a"), "1a");
    EXPECT_EQ(stringByUppercasingFirstLetter(""), "");
}

TEST(StringUtilitiesTest, LowercasingTheFirstLetterKeepsTheRest) {
    EXPECT_EQ(stringByLowercasingFirstLetter("TriggerCount"), "triggerCount");
    EXPECT_EQ(stringByLowercasingFirstLetter("URL"), "uRL");
    EXPECT_EQ(stringByLowercasingFirstLetter("Ärger"), "ärger");
    EXPECT_EQ(stringByLowercasingFirstLetter("1A"), "1A");
    EXPECT_EQ(stringByLowercasingFirstLetter(""), "");
}

TEST(StringUtilitiesTest, IcuStringsRoundTrip) {
    const QString text = QString::fromUtf8("Zürich 𝄞");
    EXPECT_EQ(fromUnicodeString(toUnicodeString(text)), text);
    EXPECT_EQ(toUnicodeString(text).length(), text.size());
}
