// The service's HTTP interface: every request passes the caller policy once
// its header is read, then one small route that validates its input and
// calls the desk. Routes are found by hand, never by a pattern.
#pragma once

#include "service/CallerPolicy.h"
#include "service/EventHistory.h"
#include "service/HttpExchange.h"
#include "service/RefusalLog.h"
#include "service/StationDesk.h"

#include <string>

struct RouteLimits {
    int JpegQuality = 90;
    // The office's settings for records and WSQ images (Config\Records.ini of
    // the station's folder); read at every download, so an edit counts at once.
    std::wstring RecordsIni;
};

class ServiceRoutes : public HttpRoutes {
public:
    ServiceRoutes(const CallerPolicy& policy, StationDesk& desk, EventHistory& events, RefusalLog& refusals,
                  std::string version, RouteLimits limits = RouteLimits());

    HttpAnswer Admit(const HttpRequest& head) override;
    RoutePlan Plan(const HttpRequest& request) override;

private:
    RoutePlan Fingers(const std::string& slotText, const HttpRequest& request, const CallerVerdict& verdict);
    RoutePlan Record(const HttpRequest& request);
    RoutePlan Command(const HttpRequest& request, const CallerVerdict& verdict);

    const CallerPolicy& policy_;
    StationDesk& desk_;
    EventHistory& events_;
    RefusalLog& refusals_;
    const std::string version_;
    const RouteLimits limits_;
};
