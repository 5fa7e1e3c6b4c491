// One request and its answer as the routes see them, whatever server read
// them: the server reads and frames, the routes decide.
#pragma once

#include "service/EventHistory.h"

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

using HeaderList = std::vector<std::pair<std::string, std::string>>;

struct HttpRequest {
    std::string Method;
    std::string Path;   // the target before '?', as sent
    std::string Query;  // after '?', still percent-encoded
    HeaderList Headers;
    std::string Body;

    // The first header of that name (any case); "" when there is none.
    std::string Header(const std::string& name) const;
    bool Has(const std::string& name) const;
};

struct HttpAnswer {
    int Status = 200;
    std::string ContentType;
    std::string Body;
    HeaderList Headers;
};

// A JSON answer; never kept by a browser or a proxy, since it may name a person.
HttpAnswer JsonAnswer(int status, std::string json);
// {"error": reason} with the status.
HttpAnswer ErrorAnswer(int status, const std::string& reason);

// What a route does with a request that passed the caller check.
struct RoutePlan {
    enum class Kind {
        Answer,  // Answer, at once
        Work,    // Work's answer; it may wait for the station, so it runs off the server's thread
        Encode,  // Work's answer, computed from files (a finger compressed, a record written): it
                 // waits for nothing, so it runs on the encoders, never behind a station command
        Events,  // a stream of the subscription's events
    };
    Kind Plan = Kind::Answer;
    HttpAnswer Answer;
    std::function<HttpAnswer()> Work;
    std::shared_ptr<EventSubscription> Events;
    // Added to the answer, whichever kind it is (the caller's CORS headers).
    HeaderList Headers;
};

class HttpRoutes {
public:
    // Once the header is read, before any body: a refusal or a preflight's
    // answer; an empty Status (0) lets the request go on.
    virtual HttpAnswer Admit(const HttpRequest& head) = 0;
    // Once the whole request is read.
    virtual RoutePlan Plan(const HttpRequest& request) = 0;

protected:
    ~HttpRoutes() = default;
};
