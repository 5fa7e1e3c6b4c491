// The event history: numbering, resuming after a reload or a restart, the
// bounds, and waking the stream that waits.
#include "service/EventHistory.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>

namespace {

std::vector<std::string> Drain(EventSubscription& subscription) {
    std::vector<std::string> ids;
    ServiceEvent event;
    while (subscription.Next(event) == EventSubscription::Take::Event) ids.push_back(event.Id);
    return ids;
}

TEST(EventHistoryTest, ListenerGetsEventsInOrderFromItsSubscription) {
    EventHistory history(16, 8, 4, "r");
    const std::string first = history.Append("ready", "{}");
    auto listener = history.Subscribe(first);
    history.Append("collected", R"({"slot":0})");
    history.Append("collected", R"({"slot":1})");
    ServiceEvent event;
    ASSERT_EQ(listener->Next(event), EventSubscription::Take::Event);
    EXPECT_EQ(event.Id, "r-2");
    EXPECT_EQ(event.Name, "collected");
    EXPECT_EQ(event.Data, R"({"slot":0})");
    EXPECT_EQ(Drain(*listener), std::vector<std::string>({"r-3"}));
    EXPECT_EQ(listener->Next(event), EventSubscription::Take::Empty);
}

TEST(EventHistoryTest, ReloadedPageResumesAfterTheLastNumberItSaw) {
    EventHistory history(16, 8, 4, "r");
    for (int i = 0; i < 5; ++i) history.Append("collected", "{}");
    auto resumed = history.Subscribe("r-2");
    EXPECT_EQ(Drain(*resumed), std::vector<std::string>({"r-3", "r-4", "r-5"}));
    auto fresh = history.Subscribe("");
    EXPECT_EQ(Drain(*fresh), std::vector<std::string>({"r-1", "r-2", "r-3", "r-4", "r-5"}));
}

TEST(EventHistoryTest, NumberOfAnotherRunGetsTheWholeHistory) {
    // The page saw events of the service's last run, up to a higher number than this run reached.
    EventHistory earlier(16, 8, 4, "a");
    for (int i = 0; i < 7; ++i) earlier.Append("collected", "{}");
    EventHistory history(16, 8, 4, "b");
    history.Append("ready", "{}");
    history.Append("collected", "{}");
    const std::vector<std::string> all{"b-1", "b-2"};
    EXPECT_EQ(Drain(*history.Subscribe("a-1")), all);
    EXPECT_EQ(Drain(*history.Subscribe("a-7")), all);
    EXPECT_EQ(Drain(*history.Subscribe("b-9")), all);
    EXPECT_EQ(Drain(*history.Subscribe("1")), all);
    EXPECT_EQ(Drain(*history.Subscribe("b-x")), all);
    EXPECT_EQ(Drain(*history.Subscribe("b-1")), std::vector<std::string>({"b-2"}));
}

TEST(EventHistoryTest, RunTagsDiffer) {
    const std::string first = NewRunTag();
    Sleep(20);
    EXPECT_NE(first, NewRunTag());
    EXPECT_EQ(first.find('-'), std::string::npos);
}

// A page resuming a history as long as its queue's bound is not cut off by
// the next event before it has read anything.
TEST(EventHistoryTest, ResumedBacklogLeavesRoomForTheNextEvents) {
    EventHistory history(4, 4, 4, "r");
    for (int i = 0; i < 4; ++i) history.Append("collected", "{}");
    auto listener = history.Subscribe("");
    history.Append("collected", "{}");
    EXPECT_EQ(Drain(*listener), std::vector<std::string>({"r-1", "r-2", "r-3", "r-4", "r-5"}));
}

TEST(EventHistoryTest, HistoryKeepsOnlyTheLastEvents) {
    EventHistory history(3, 8, 4, "r");
    for (int i = 0; i < 6; ++i) history.Append("collected", "{}");
    auto listener = history.Subscribe("r-1");
    EXPECT_EQ(Drain(*listener), std::vector<std::string>({"r-4", "r-5", "r-6"}));
}

TEST(EventHistoryTest, ListenerThatDoesNotReadIsCutOffNotBufferedFor) {
    EventHistory history(64, 2, 4, "r");
    auto slow = history.Subscribe("");
    auto reader = history.Subscribe("");
    for (int i = 0; i < 3; ++i) {
        history.Append("collected", "{}");
        Drain(*reader);
    }
    ServiceEvent event;
    EXPECT_EQ(slow->Next(event), EventSubscription::Take::Ended);
    // It comes back with the last number it saw and misses nothing.
    slow.reset();
    auto back = history.Subscribe("");
    EXPECT_EQ(Drain(*back), std::vector<std::string>({"r-1", "r-2", "r-3"}));
    EXPECT_EQ(reader->Next(event), EventSubscription::Take::Empty);
}

TEST(EventHistoryTest, WaitingListenerIsWokenForEachEventAndAtItsEnd) {
    EventHistory history(8, 8, 4, "r");
    auto listener = history.Subscribe("");
    std::atomic<int> woken{0};
    listener->SetWaker([&] { ++woken; });
    history.Append("collected", "{}");
    EXPECT_EQ(woken, 1);
    ServiceEvent event;
    EXPECT_EQ(listener->Next(event), EventSubscription::Take::Event);
    history.Shutdown();
    EXPECT_EQ(woken, 2);
    EXPECT_EQ(listener->Next(event), EventSubscription::Take::Ended);
}

TEST(EventHistoryTest, NewListenerTakesTheOldestOnesPlace) {
    EventHistory history(8, 8, 2, "r");
    auto first = history.Subscribe("");
    bool firstWoken = false;
    first->SetWaker([&] { firstWoken = true; });
    auto second = history.Subscribe("");
    auto third = history.Subscribe("");
    ASSERT_NE(third, nullptr);
    EXPECT_TRUE(firstWoken);
    ServiceEvent event;
    EXPECT_EQ(first->Next(event), EventSubscription::Take::Ended);
    EXPECT_EQ(second->Next(event), EventSubscription::Take::Empty);
    EXPECT_EQ(history.Listeners(), 2u);
    // One that leaves frees its place at once.
    second.reset();
    EXPECT_EQ(history.Listeners(), 1u);
}

TEST(EventHistoryTest, ShutdownEndsEveryStream) {
    EventHistory history(8, 8, 2, "r");
    auto listener = history.Subscribe("");
    history.Shutdown();
    ServiceEvent event;
    EXPECT_EQ(listener->Next(event), EventSubscription::Take::Ended);
    EXPECT_EQ(history.Subscribe(""), nullptr);
}

}  // namespace
