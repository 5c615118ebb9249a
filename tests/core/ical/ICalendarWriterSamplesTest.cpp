#include "ICalendarTestSupport.h"

#include "core/eventstore/ICalendarImporter.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace {

// A file of the sample folder: the events it imports and the lines its warnings name (every line
// left out, and every line read with an assumption).
struct WriterSample {
    const char* fileName;
    int events;
    std::vector<int> namedLines;
};

const WriterSample writerSamples[] = {
    {"outlook-exchange-meeting.ics", 1, {}},
    {"outlook-broken-folds.ics", 2, {10, 21}},
    {"google-weekly-with-exception.ics", 2, {}},
    {"google-holidays.ics", 3, {}},
    {"apple-travel-and-location.ics", 1, {}},
    {"apple-synced-twice.ics", 2, {9}},
    {"thunderbird-lightning.ics", 2, {33}},
    {"thunderbird-periods.ics", 3, {11}},
    {"groupware-dates-with-zone.ics", 2, {10, 11}},
    {"groupware-own-zone.ics", 2, {7, 13, 22, 29}},
    {"groupware-exception-without-uid.ics", 2, {15}},
    {"converter-colonless-lines.ics", 1, {10, 12}},
    {"webmail-with-task.ics", 1, {12}},
    {"caldav-server-new-york.ics", 1, {}},
};

// The samples lie beside this source, in the folder "corpus".
QDir writerSampleFolder() {
    return QFileInfo(QStringLiteral(__FILE__)).dir().filePath(QStringLiteral("corpus"));
}

} // namespace

// Files as other calendar programs write them, each with the habits of its kind of writer.
class ICalendarWriterSamplesTest : public ICalendarTest {};

TEST_F(ICalendarWriterSamplesTest, EveryEventIsImportedAndEveryLeftOutLineNamed) {
    QStringList listed;
    for (const WriterSample& sample : writerSamples) {
        listed.append(QString::fromLatin1(sample.fileName));
    }
    listed.sort();
    ASSERT_EQ(writerSampleFolder().entryList({QStringLiteral("*.ics")}, QDir::Files, QDir::Name), listed);

    const auto calendar = std::make_shared<EKCalendar>("", EKCalendarType::Local, store().localSource());
    calendar->setTitle("Samples");
    StoreError storeError;
    ASSERT_TRUE(store().saveCalendar(calendar, true, &storeError));
    int filesWithEvents = 0;
    for (const WriterSample& sample : writerSamples) {
        const QString fileName = QString::fromLatin1(sample.fileName);
        const ICalendarImportResult result =
            ICalendarImporter().import(writerSampleFolder().filePath(fileName), calendar, store());
        EXPECT_FALSE(result.error.has_value()) << sample.fileName << ": " << result.error->toStdString();
        EXPECT_EQ(result.imported, sample.events) << sample.fileName;
        EXPECT_EQ(messages(result.skipped), QStringList()) << sample.fileName;
        std::vector<int> named;
        for (const ICalendarError& warning : result.warnings) {
            EXPECT_EQ(warning.fileName, fileName);
            named.push_back(warning.line);
        }
        EXPECT_EQ(named, sample.namedLines) << sample.fileName << "\n"
                                            << messages(result.warnings).join('\n').toStdString();
        filesWithEvents += result.imported > 0 ? 1 : 0;
    }
    EXPECT_EQ(filesWithEvents, int(std::size(writerSamples)));
}
