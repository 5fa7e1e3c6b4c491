// The service's HTTP interface, installed on a server: every request passes
// the caller policy first, then one small route that validates its input and
// calls the desk.
#pragma once

#include "service/CallerPolicy.h"
#include "service/EventHistory.h"
#include "service/RefusalLog.h"
#include "service/StationDesk.h"

#include <chrono>
#include <string>

namespace httplib {
class Server;
}

struct RouteLimits {
    // A quiet event stream gets a comment line this often, so that a page
    // that went away is noticed by the failed write.
    std::chrono::milliseconds KeepAlive{10000};
    int JpegQuality = 90;
};

class ServiceRoutes {
public:
    ServiceRoutes(const CallerPolicy& policy, StationDesk& desk, EventHistory& events, RefusalLog& refusals,
                  std::string version, RouteLimits limits = RouteLimits());

    void Install(httplib::Server& server);

private:
    const CallerPolicy& policy_;
    StationDesk& desk_;
    EventHistory& events_;
    RefusalLog& refusals_;
    const std::string version_;
    const RouteLimits limits_;
};
