// The rules of the host's states, step by step as a host meets them.
#include "LinkState.h"

#include <gtest/gtest.h>

using namespace kv90host;

TEST(LinkState, OpenReadyCloseAnnouncedThenEnded) {
    LinkStateMachine machine;
    EXPECT_EQ(machine.state(), LinkState::Stopped);
    EXPECT_TRUE(machine.beginOpen());
    EXPECT_EQ(machine.state(), LinkState::Starting);
    EXPECT_FALSE(machine.ready());
    EXPECT_TRUE(machine.readyArrived());
    EXPECT_TRUE(machine.ready());
    EXPECT_FALSE(machine.readyArrived()) << "a repeated READY announces nothing";
    EXPECT_TRUE(machine.beginClose());
    EXPECT_EQ(machine.state(), LinkState::Closing);
    machine.closeNotified();
    EndReason reason = EndReason::Ended;
    EXPECT_TRUE(machine.ended(reason));
    EXPECT_EQ(reason, EndReason::Closed);
    EXPECT_EQ(machine.state(), LinkState::Stopped);
    EXPECT_FALSE(machine.ended(reason)) << "Closed is announced once";
}

TEST(LinkState, AProcessThatEndsWithoutCloseHasEnded) {
    LinkStateMachine machine;
    machine.beginOpen();
    machine.readyArrived();
    EndReason reason = EndReason::Closed;
    EXPECT_TRUE(machine.ended(reason));
    EXPECT_EQ(reason, EndReason::Ended);
    EXPECT_STREQ(endReasonName(reason), L"ended");
}

TEST(LinkState, TheStationClosingByItselfCountsAsClosed) {
    LinkStateMachine machine;
    machine.beginOpen();
    machine.readyArrived();
    machine.closeNotified();
    EXPECT_EQ(machine.state(), LinkState::Closing);
    EXPECT_FALSE(machine.ready()) << "no person may be named while the station closes";
    EndReason reason = EndReason::Ended;
    EXPECT_TRUE(machine.ended(reason));
    EXPECT_STREQ(endReasonName(reason), L"closed");
}

TEST(LinkState, RefusedSteps) {
    LinkStateMachine machine;
    EXPECT_FALSE(machine.beginClose()) << "nothing to close when stopped";
    EXPECT_FALSE(machine.readyArrived()) << "a READY nobody waits for";
    machine.closeNotified();
    EXPECT_EQ(machine.state(), LinkState::Stopped);
    EndReason reason;
    EXPECT_FALSE(machine.ended(reason));
    EXPECT_TRUE(machine.beginOpen());
    EXPECT_FALSE(machine.beginOpen()) << "one station at a time";
}

TEST(LinkState, AFailedOpenEndsWithoutClosed) {
    LinkStateMachine machine;
    machine.beginOpen();
    machine.openFailed();
    EXPECT_EQ(machine.state(), LinkState::Stopped);
    EndReason reason;
    EXPECT_FALSE(machine.ended(reason));
    EXPECT_TRUE(machine.beginOpen()) << "a new open after a failed one";
}

TEST(LinkState, ACloseSeenBeforeReopeningDoesNotCarryOver) {
    LinkStateMachine machine;
    machine.beginOpen();
    machine.readyArrived();
    machine.closeNotified();
    EndReason reason;
    machine.ended(reason);
    machine.beginOpen();
    machine.readyArrived();
    EXPECT_TRUE(machine.ended(reason));
    EXPECT_EQ(reason, EndReason::Ended);
}

TEST(LinkState, Names) {
    EXPECT_STREQ(linkStateName(LinkState::Stopped), L"stopped");
    EXPECT_STREQ(linkStateName(LinkState::Starting), L"starting");
    EXPECT_STREQ(linkStateName(LinkState::Ready), L"ready");
    EXPECT_STREQ(linkStateName(LinkState::Closing), L"closing");
}
