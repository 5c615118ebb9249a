#include "foundation/ListExtensions.h"
#include "foundation/ObjectExtensions.h"
#include "testing/ManualRunLoop.h"

#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

TEST(CollectionUtilities, CollectWithDuplicatesLeavesOutMissingValuesAndKeepsDuplicates) {
    const QStringList names = {"a", "", "b", "a"};
    const std::vector<QString> upper = Extensions::collectWithDuplicates(names, [](const QString& name) {
        return name.isEmpty() ? std::nullopt : std::optional<QString>(name.toUpper());
    });
    EXPECT_EQ(upper, (std::vector<QString>{"A", "B", "A"}));

    const std::vector<int> numbers = {1, 2, 3};
    const auto pointers = Extensions::collectWithDuplicates(
        numbers, [](int number) { return number == 2 ? nullptr : std::make_shared<int>(number * 10); });
    ASSERT_EQ(pointers.size(), 2U);
    EXPECT_EQ(*pointers[0], 10);
    EXPECT_EQ(*pointers[1], 30);
}

TEST(CollectionUtilities, ArrayByRemovingObjectRemovesEveryEqualElement) {
    const std::vector<int> numbers = {1, 2, 1, 3};
    EXPECT_EQ(Extensions::arrayByRemovingObject(numbers, 1), (std::vector<int>{2, 3}));
    EXPECT_EQ(Extensions::arrayByRemovingObject(numbers, 7), numbers);
    const std::vector<QString> names = {"Home", "home", "Work"};
    const auto caseless = [](const QString& a, const QString& b) {
        return a.compare(b, Qt::CaseInsensitive) == 0;
    };
    EXPECT_EQ(Extensions::arrayByRemovingObject(names, QString("HOME"), caseless),
              (std::vector<QString>{"Work"}));
}

TEST(CollectionUtilities, RotationsMoveOneElementAndReturnIt) {
    std::vector<int> pages = {1, 2, 3};
    EXPECT_EQ(Move::moveFirstObjectToEnd(pages), 1);
    EXPECT_EQ(pages, (std::vector<int>{2, 3, 1}));
    EXPECT_EQ(Move::moveLastObjectToBegin(pages), 1);
    EXPECT_EQ(pages, (std::vector<int>{1, 2, 3}));
    std::vector<int> single = {7};
    EXPECT_EQ(Move::moveFirstObjectToEnd(single), 7);
    EXPECT_EQ(single, std::vector<int>{7});
}

TEST(CollectionUtilities, IsNotNull) {
    EXPECT_FALSE(Extensions::isNotNull(std::shared_ptr<int>()));
    EXPECT_TRUE(Extensions::isNotNull(std::make_shared<int>(0)));
    EXPECT_FALSE(Extensions::isNotNull(std::optional<int>()));
    EXPECT_TRUE(Extensions::isNotNull(std::optional<int>(0)));
}

namespace {

struct Flasher {
    void setHighlighted(bool highlighted) { calls.push_back(highlighted); }
    std::vector<bool> calls;
};

} // namespace

TEST(CollectionUtilities, PerformSelectorCallsAfterTheDelayUnlessTheReceiverIsGone) {
    auto loop = std::make_shared<ManualRunLoop>();
    RunLoop::setMain(loop);
    auto flasher = std::make_shared<Flasher>();
    Extensions::performSelector(flasher, &Flasher::setHighlighted, false, 0.3);
    loop->advance(0.29);
    EXPECT_TRUE(flasher->calls.empty());
    loop->advance(0.01);
    EXPECT_EQ(flasher->calls, std::vector<bool>{false});

    Extensions::performSelector(flasher, &Flasher::setHighlighted, true, 0.5);
    flasher.reset();
    loop->advance(1.0);
    EXPECT_EQ(loop->pendingTimerCount(), 0);
    RunLoop::setMain(nullptr);
}
