// What a test adds to the program's daily log beside the test program.
#pragma once

#include <string>
#include <vector>

class DailyLogWatch {
public:
    // Makes the log folder if it is missing, and removes it again at the end.
    DailyLogWatch();
    ~DailyLogWatch();
    DailyLogWatch(const DailyLogWatch&) = delete;
    DailyLogWatch& operator=(const DailyLogWatch&) = delete;

    // The whole lines written since the watch began, without their line breaks.
    std::vector<std::string> NewLines() const;
    // The same lines without their "yyyy-mm-dd hh:nn:ss : " stamp.
    std::vector<std::string> NewMessages() const;

private:
    std::string LogPath() const;
    std::string Contents() const;

    std::string folder_;
    bool createdFolder_ = false;
    size_t start_ = 0;
};
