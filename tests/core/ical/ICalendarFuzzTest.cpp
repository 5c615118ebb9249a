#include "ICalendarGenerator.h"
#include "ICalendarTestSupport.h"

#include "testing/LogCapture.h"

#include <QRegularExpression>

namespace {

// Bytes and lines that break files in the ways found in the wild and in attacks.
const char* const insertions[] = {"\r\nBEGIN:VEVENT\r\n",
                                  "\r\nEND:VALARM\r\n",
                                  "\r\nEND:VCALENDAR\r\n",
                                  "\r\nRRULE:FREQ=MINUTELY\r\n",
                                  "\r\nDURATION:P99999999W\r\n",
                                  "\r\nRRULE:RSCALE=HEBREW;FREQ=YEARLY\r\n",
                                  "\r\nBEGIN:X-A\r\nBEGIN:X-A\r\n",
                                  ";TZID=Nowhere",
                                  "\r\n ",
                                  ":",
                                  ";",
                                  "=",
                                  ",",
                                  "\"",
                                  "\\",
                                  "\xC3",
                                  "\xFF",
                                  "\r\nEXDATE:\r\n",
                                  "\r\nBYWEEKNO=53\r\n",
                                  "99991231",
                                  "T250000"};

// One mutation of a text: a changed, removed or repeated piece, an insertion, or a splice.
void mutate(QByteArray& text, ICalendarGenerator& random, const QByteArray& other) {
    const auto at = [&](const QByteArray& in) { return qsizetype(random.number(0, int(in.size()) - 1)); };
    switch (random.number(0, 4)) {
    case 0:
        text[at(text)] = char(random.number(0, 255));
        break;
    case 1:
        text.remove(at(text), random.number(1, 40));
        break;
    case 2: {
        const qsizetype from = at(text);
        text.insert(at(text), text.mid(from, random.number(1, 200)));
        break;
    }
    case 3:
        text.insert(at(text), insertions[random.number(0, int(std::size(insertions)) - 1)]);
        break;
    default:
        text.insert(at(text), other.mid(at(other), random.number(1, 400)));
        break;
    }
}

} // namespace

using ICalendarFuzzTest = ICalendarTest;

// Mutated files are read or refused, never crash or hang (the sanitizers and the test's time limit
// watch), and every answer keeps the reader's promises: a refusal names the file and its line,
// strict reading refuses what lenient reading skips, and every event read makes sense. The rounds
// can be raised with ORVELLA_FUZZ_ROUNDS (scripts/fuzz.sh).
TEST_F(ICalendarFuzzTest, MutatedFilesAreReadOrRefusedCleanly) {
    const int rounds = qEnvironmentVariableIsSet("ORVELLA_FUZZ_ROUNDS")
                           ? qEnvironmentVariableIntValue("ORVELLA_FUZZ_ROUNDS")
                           : 300;
    const unsigned seed = qEnvironmentVariableIsSet("ORVELLA_FUZZ_SEED")
                              ? unsigned(qEnvironmentVariableIntValue("ORVELLA_FUZZ_SEED"))
                              : 7;
    LogCapture log;
    ICalendarGenerator generator(seed);
    const QRegularExpression located(QStringLiteral("^fuzz\\.ics(:[1-9][0-9]*)?: "));
    int clean = 0;
    for (int round = 0; round < rounds; ++round) {
        QByteArray text = generator.file(generator.number(1, 6));
        const QByteArray other = generator.file(2);
        for (int i = 0, n = generator.number(1, 6); i < n; ++i) {
            mutate(text, generator, other);
        }
        ICalendarReader reader(store());
        const ICalendarParseResult lenient = reader.read(text, "fuzz.ics");
        reader.setStrictness(ICalendarReader::Strictness::RefuseFile);
        const ICalendarParseResult strict = reader.read(text, "fuzz.ics");
        for (const ICalendarError& problem : lenient.skipped) {
            ASSERT_TRUE(located.match(problem.message()).hasMatch()) << problem.message().toStdString();
        }
        if (strict.error) {
            ASSERT_TRUE(located.match(strict.error->message()).hasMatch())
                << strict.error->message().toStdString();
            ASSERT_TRUE(strict.events.empty());
        } else {
            ASSERT_TRUE(lenient.skipped.empty()) << text.toStdString();
            ASSERT_EQ(strict.events.size(), lenient.events.size());
        }
        ASSERT_TRUE(lenient.error.has_value() == strict.error.has_value() || strict.error.has_value());
        for (const auto& event : lenient.events) {
            ASSERT_GE(event->endDate(), event->startDate());
            ASSERT_FALSE(event->eventIdentifier().isEmpty());
        }
        ++clean;
    }
    EXPECT_EQ(clean, rounds);
    std::printf("[ fuzz     ] %d mutated files read or refused cleanly (seed %u)\n", clean, seed);
}
