#include "core/events/EventList.h"
#include "EventsTestSupport.h"
#include "core/events/EventSaveCommand.h"
#include "core/eventstore/EKEvent.h"

namespace {

std::shared_ptr<EKEvent> event(const QString& identifier, const QString& title, double start) {
    auto event = std::make_shared<EKEvent>();
    event->setEventIdentifier(identifier);
    event->setTitle(title);
    event->setStartDate(Date::withTimeIntervalSince1970(start));
    event->setEndDate(Date::withTimeIntervalSince1970(start + 600));
    return event;
}

} // namespace

TEST(EventList, KeepsTheGivenOrderUntilSorted) {
    EventList list({event("c", "C", 300), event("a", "A", 100), event("b", "B", 200)});
    EXPECT_EQ(titlesOf(list.array()), "C A B");
    list.sort();
    EXPECT_EQ(titlesOf(list.array()), "A B C");
    EXPECT_EQ(list.size(), 3);
    EXPECT_EQ(list.eventAtIndex(1)->title(), "B");
}

TEST(EventList, EqualStartsKeepTheirOrderWhenSorted) {
    EventList list({event("b", "B", 100), event("a", "A", 100), event("z", "Z", 50)});
    list.sort();
    EXPECT_EQ(titlesOf(list.array()), "Z B A");
}

TEST(EventList, AddingWithAndWithoutSort) {
    EventList list(4);
    EXPECT_EQ(list.size(), 0);
    list.addWithoutSort(event("b", "B", 200));
    list.addWithoutSort(event("a", "A", 100));
    EXPECT_EQ(titlesOf(list.array()), "B A");
    list.addWithSort(event("c", "C", 150));
    EXPECT_EQ(titlesOf(list.array()), "A C B");
}

TEST(EventList, FindsEntriesByIdentityAndContainsByIdentifier) {
    EventList list({event("a", "A", 100), event("b", "B", 200)});
    EXPECT_EQ(list.indexOfEvent(*event("b", "other title", 200)), 1);
    // Another occurrence of the same event is another record.
    EXPECT_EQ(list.indexOfEvent(*event("b", "B", 900)), EventList::notFound);
    EXPECT_TRUE(list.contains(*event("b", "B", 900)));
    EXPECT_FALSE(list.contains(*event("x", "B", 200)));
    list.removeEventAtIndex(0);
    EXPECT_EQ(titlesOf(list.array()), "B");
}

TEST(EventList, UpdateReplacesEveryEntryOfTheIdentifierAndSorts) {
    EventList list({event("a", "A", 300), event("b", "B1", 100), event("b", "B2", 400)});
    list.update(event("b", "B new", 200));
    EXPECT_EQ(titlesOf(list.array()), "B new B new A");
}

TEST(EventList, UpdateWithAnUnknownIdentifierLeavesTheEntriesSorted) {
    const auto a = event("a", "A", 300);
    const auto b = event("b", "B", 100);
    EventList list({a, b});
    list.update(event("x", "X", 200));
    EXPECT_EQ(titlesOf(list.array()), "B A");
    EXPECT_EQ(list.eventAtIndex(0), b);
    EXPECT_EQ(list.eventAtIndex(1), a);
}

TEST(EventList, ArrayIsTheUnderlyingListItself) {
    EventList list;
    list.array().push_back(event("a", "A", 1));
    EXPECT_EQ(list.size(), 1);
    EXPECT_EQ(&list.array(), &list.events());
}

TEST(EventSaveCommand, CarriesAnEventAndASpan) {
    EventSaveCommand command;
    EXPECT_EQ(command.span(), EKSpan::ThisEvent);
    const auto saved = event("a", "A", 1);
    command.setEvent(saved);
    command.setSpan(EKSpan::FutureEvents);
    EXPECT_EQ(command.event(), saved);
    EXPECT_EQ(static_cast<int>(command.span()), 1);
}
