#include "testing/FakeReachability.h"
#include "kit/Reachability.h"
#include "kit/UrlOpener.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <atomic>
#include <memory>
#include <thread>

namespace {

class RecordingUrlOpener : public UrlOpener {
public:
    bool openURL(const QString& address) override {
        opened.append(address);
        return true;
    }
    QStringList opened;
};

} // namespace

TEST(UrlOpenerTest, TheSharedOpenerCanBeReplaced) {
    auto recorder = std::make_shared<RecordingUrlOpener>();
    UrlOpener::setShared(recorder);
    EXPECT_EQ(&UrlOpener::shared(), recorder.get());
    EXPECT_TRUE(UrlOpener::shared().openURL("https://orvella.example/review?id=12345"));
    EXPECT_EQ(recorder->opened, QStringList{"https://orvella.example/review?id=12345"});
    UrlOpener::setShared(nullptr);
    EXPECT_NE(&UrlOpener::shared(), recorder.get());
    // The desktop's opener refuses what is not an address, without asking the desktop.
    EXPECT_FALSE(UrlOpener::shared().openURL("not an address"));
}

TEST(ReachabilityTest, TheFakeAnswersWhatItIsTold) {
    auto fake = std::make_shared<FakeReachability>(Reachability::Status::NotReachable);
    Reachability::setShared(fake);
    EXPECT_FALSE(Reachability::shared().isReachable());
    fake->setStatus(Reachability::Status::Reachable);
    // Read from another thread, as the rating prompt does.
    std::atomic<bool> reachable = false;
    std::thread([&] { reachable = Reachability::shared().isReachable(); }).join();
    EXPECT_TRUE(reachable);
    fake->setStatus(Reachability::Status::Unknown);
    EXPECT_FALSE(Reachability::shared().isReachable());
    Reachability::setShared(nullptr);
}
