#include "common/RepeatedLog.h"

#include <gtest/gtest.h>

#include <vector>

TEST(RepeatedLog, ARepeatedLineIsWrittenOnceThenCountedAtMostOnceAMinute) {
    std::vector<std::string> written;
    uint64_t now = 1000;
    {
        TRepeatedLog log([&](const std::string& line) { written.push_back(line); }, [&] { return now; });
        log.Write("A");
        for (int frame = 0; frame < 25 * 59; ++frame, now += 40) log.Write("A");  // a minute less a second
        EXPECT_EQ(written, (std::vector<std::string>{"A"}));
        now += 1000;
        log.Write("A");  // the minute is full: the count so far
        EXPECT_EQ(written.back(), "上一条信息又重复出现1476次:A");
        log.Write("A");
        log.Write("A");
        log.Write("B");  // another line first closes the count of the one before
        log.Write("B");
        log.Write("A");
        log.Write("A");
    }  // the end of the loop writes what is still counted
    EXPECT_EQ(written, (std::vector<std::string>{"A", "上一条信息又重复出现1476次:A", "上一条信息又重复出现2次:A", "B",
                                                 "上一条信息又重复出现1次:B", "A", "上一条信息又重复出现1次:A"}));
}
