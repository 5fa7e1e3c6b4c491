// The event history: numbering, resuming after a reload, and the bounds.
#include "service/EventHistory.h"

#include <gtest/gtest.h>

#include <chrono>

namespace {

using std::chrono::milliseconds;

std::vector<uint64_t> Drain(EventSubscription& subscription) {
    std::vector<uint64_t> ids;
    ServiceEvent event;
    while (subscription.Next(milliseconds(0), event) == EventSubscription::Wait::Event) ids.push_back(event.Id);
    return ids;
}

TEST(EventHistoryTest, ListenerGetsEventsInOrderFromItsSubscription) {
    EventHistory history(16, 8, 4);
    history.Append("ready", "{}");
    auto listener = history.Subscribe(history.LastId());
    history.Append("collected", R"({"slot":0})");
    history.Append("collected", R"({"slot":1})");
    ServiceEvent event;
    ASSERT_EQ(listener->Next(milliseconds(0), event), EventSubscription::Wait::Event);
    EXPECT_EQ(event.Id, 2u);
    EXPECT_EQ(event.Name, "collected");
    EXPECT_EQ(event.Data, R"({"slot":0})");
    EXPECT_EQ(Drain(*listener), std::vector<uint64_t>({3}));
    EXPECT_EQ(listener->Next(milliseconds(10), event), EventSubscription::Wait::TimedOut);
}

TEST(EventHistoryTest, ReloadedPageResumesAfterTheLastNumberItSaw) {
    EventHistory history(16, 8, 4);
    for (int i = 0; i < 5; ++i) history.Append("collected", "{}");
    auto resumed = history.Subscribe(2);
    EXPECT_EQ(Drain(*resumed), std::vector<uint64_t>({3, 4, 5}));
    auto fresh = history.Subscribe(0);
    EXPECT_EQ(Drain(*fresh), std::vector<uint64_t>({1, 2, 3, 4, 5}));
    // A number this run never gave (an earlier run's) resumes nothing.
    auto stranger = history.Subscribe(99);
    EXPECT_TRUE(Drain(*stranger).empty());
}

TEST(EventHistoryTest, HistoryKeepsOnlyTheLastEvents) {
    EventHistory history(3, 8, 4);
    for (int i = 0; i < 6; ++i) history.Append("collected", "{}");
    auto listener = history.Subscribe(1);
    EXPECT_EQ(Drain(*listener), std::vector<uint64_t>({4, 5, 6}));
}

TEST(EventHistoryTest, ListenerThatDoesNotReadIsCutOffNotBufferedFor) {
    EventHistory history(64, 2, 4);
    auto slow = history.Subscribe(0);
    auto reader = history.Subscribe(0);
    for (int i = 0; i < 3; ++i) {
        history.Append("collected", "{}");
        Drain(*reader);
    }
    ServiceEvent event;
    EXPECT_EQ(slow->Next(milliseconds(0), event), EventSubscription::Wait::Ended);
    // It comes back with the last number it saw and misses nothing.
    slow.reset();
    auto back = history.Subscribe(0);
    EXPECT_EQ(Drain(*back), std::vector<uint64_t>({1, 2, 3}));
    EXPECT_EQ(reader->Next(milliseconds(0), event), EventSubscription::Wait::TimedOut);
}

TEST(EventHistoryTest, ListenersAreBoundedAndLeaveWhenDone) {
    EventHistory history(8, 8, 2);
    auto first = history.Subscribe(0);
    auto second = history.Subscribe(0);
    EXPECT_EQ(history.Subscribe(0), nullptr);
    second.reset();
    EXPECT_EQ(history.Listeners(), 1u);
    EXPECT_NE(history.Subscribe(0), nullptr);
}

TEST(EventHistoryTest, ShutdownEndsEveryStream) {
    EventHistory history(8, 8, 2);
    auto listener = history.Subscribe(0);
    history.Shutdown();
    ServiceEvent event;
    EXPECT_EQ(listener->Next(milliseconds(1000), event), EventSubscription::Wait::Ended);
    EXPECT_EQ(history.Subscribe(0), nullptr);
}

}  // namespace
