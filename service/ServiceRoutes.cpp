// The routes of the service's HTTP interface.
#include "service/ServiceRoutes.h"

#include "service/FingerImage.h"
#include "service/FingerNames.h"
#include "service/TextUtf8.h"

#include <httplib.h>
#include <nlohmann/json.hpp>

#include <memory>

namespace {

constexpr const char* kJson = "application/json; charset=utf-8";

void SendError(httplib::Response& res, int status, const std::string& reason) {
    res.status = status;
    res.set_content(nlohmann::json{{"error", reason}}.dump(), kJson);
}

// The state after the command, or the command's refusal.
void SendAnswer(httplib::Response& res, const StationAnswer& answer, const StationDesk& desk,
                const std::string& version) {
    if (answer.Ok()) {
        res.set_content(desk.InfoJson(version), kJson);
    } else {
        SendError(res, answer.Status, answer.Error);
    }
}

CallerRequest CallerOf(const httplib::Request& req) {
    CallerRequest caller;
    caller.Method = req.method;
    caller.Path = req.path;
    caller.Host = req.get_header_value("Host");
    caller.HasOrigin = req.has_header("Origin");
    caller.Origin = req.get_header_value("Origin");
    caller.PreflightMethod = req.get_header_value("Access-Control-Request-Method");
    caller.AsksPrivateNetwork = req.get_header_value("Access-Control-Request-Private-Network") == "true";
    caller.FromBrowser = req.has_header("Sec-Fetch-Site") || req.has_header("Sec-Fetch-Mode");
    return caller;
}

// An empty body, or a JSON object; anything else is the caller's mistake.
bool ParseBody(const httplib::Request& req, nlohmann::json& body, std::string& error) {
    if (req.body.empty()) {
        body = nlohmann::json::object();
        return true;
    }
    body = nlohmann::json::parse(req.body, nullptr, false);
    if (body.is_discarded()) {
        error = "body is not JSON";
        return false;
    }
    if (!body.is_object()) {
        error = "body is not a JSON object";
        return false;
    }
    return true;
}

// A decimal event number, as EventSource sends back; false for anything else.
bool ParseEventId(const std::string& text, uint64_t& id) {
    id = 0;
    if (text.empty()) return true;
    if (text.size() > 19) return false;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        id = id * 10 + static_cast<uint64_t>(c - '0');
    }
    return true;
}

std::string EventFrame(const ServiceEvent& event) {
    return "id: " + std::to_string(event.Id) + "\nevent: " + event.Name + "\ndata: " + event.Data + "\n\n";
}

}  // namespace

ServiceRoutes::ServiceRoutes(const CallerPolicy& policy, StationDesk& desk, EventHistory& events, RefusalLog& refusals,
                             std::string version, RouteLimits limits)
    : policy_(policy),
      desk_(desk),
      events_(events),
      refusals_(refusals),
      version_(std::move(version)),
      limits_(limits) {}

void ServiceRoutes::Install(httplib::Server& server) {
    server.set_pre_routing_handler([this](const httplib::Request& req, httplib::Response& res) {
        const CallerRequest caller = CallerOf(req);
        const CallerVerdict verdict = policy_.Judge(caller);
        if (verdict.Result == CallerVerdict::Kind::Refused) {
            refusals_.Refused(CallerPolicy::CallerName(caller), verdict.Reason);
            SendError(res, verdict.Status, verdict.Reason);
            return httplib::Server::HandlerResponse::Handled;
        }
        for (const auto& header : verdict.Headers) res.set_header(header.first.c_str(), header.second);
        if (verdict.Result == CallerVerdict::Kind::Answered) {
            res.status = verdict.Status;
            return httplib::Server::HandlerResponse::Handled;
        }
        return httplib::Server::HandlerResponse::Unhandled;
    });

    // httplib's own refusals (malformed request, body too large, no route)
    // come without a body; the caller still gets a reason.
    server.set_error_handler([](const httplib::Request&, httplib::Response& res) {
        if (!res.body.empty()) return;
        SendError(res, res.status, httplib::detail::status_message(res.status));
    });
    server.set_exception_handler([](const httplib::Request&, httplib::Response& res, std::exception_ptr) {
        SendError(res, 500, "internal error");
    });

    server.Get("/v1/info", [this](const httplib::Request&, httplib::Response& res) {
        res.set_content(desk_.InfoJson(version_), kJson);
    });

    server.Post("/v1/station/open", [this](const httplib::Request& req, httplib::Response& res) {
        nlohmann::json body;
        std::string error;
        if (!ParseBody(req, body, error)) return SendError(res, 400, error);
        SendAnswer(res, desk_.Open(), desk_, version_);
    });

    server.Post("/v1/station/close", [this](const httplib::Request& req, httplib::Response& res) {
        nlohmann::json body;
        std::string error;
        if (!ParseBody(req, body, error)) return SendError(res, 400, error);
        SendAnswer(res, desk_.Close(), desk_, version_);
    });

    server.Post("/v1/person", [this](const httplib::Request& req, httplib::Response& res) {
        nlohmann::json body;
        std::string error;
        if (!ParseBody(req, body, error)) return SendError(res, 400, error);
        const auto key = body.find("key");
        const auto name = body.find("name");
        if (key == body.end() || !key->is_string() || name == body.end() || !name->is_string()) {
            return SendError(res, 400, "key and name must be texts");
        }
        std::wstring wideKey, wideName;
        if (!Utf8ToWide(key->get<std::string>(), wideKey) || !Utf8ToWide(name->get<std::string>(), wideName)) {
            return SendError(res, 400, "key and name must be UTF-8");
        }
        SendAnswer(res, desk_.SetPerson(wideKey, wideName), desk_, version_);
    });

    server.Get("/v1/events", [this](const httplib::Request& req, httplib::Response& res) {
        uint64_t lastSeen = 0;
        if (!ParseEventId(req.get_header_value("Last-Event-ID"), lastSeen)) {
            return SendError(res, 400, "Last-Event-ID is not an event number");
        }
        std::shared_ptr<EventSubscription> subscription = events_.Subscribe(lastSeen);
        if (!subscription) return SendError(res, 503, "too many event listeners");
        res.set_header("Cache-Control", "no-store");
        const std::chrono::milliseconds keepAlive = limits_.KeepAlive;
        res.set_chunked_content_provider("text/event-stream",
                                         [subscription, keepAlive](size_t, httplib::DataSink& sink) {
                                             ServiceEvent event;
                                             switch (subscription->Next(keepAlive, event)) {
                                             case EventSubscription::Wait::Event: {
                                                 const std::string frame = EventFrame(event);
                                                 return sink.write(frame.data(), frame.size());
                                             }
                                             case EventSubscription::Wait::TimedOut:
                                                 return sink.write(": idle\n\n", 8);
                                             case EventSubscription::Wait::Ended:
                                                 sink.done();
                                                 return true;
                                             }
                                             return false;
                                         });
    });

    server.Get(R"(/v1/fingers/(\d+))", [this](const httplib::Request& req, httplib::Response& res) {
        const std::string number = req.matches[1];
        const int slot = number.size() == 1 ? number[0] - '0' : -1;
        if (slot < 0 || slot >= kSlotCount) return SendError(res, 404, "no such slot");
        const std::string format = req.has_param("format") ? req.get_param_value("format") : "bmp";
        if (format != "bmp" && format != "jpeg") return SendError(res, 400, "format must be bmp or jpeg");
        const std::string path = desk_.SlotFile(slot);
        std::string bytes;
        if (path.empty() || !ReadWholeFile(path, bytes)) return SendError(res, 404, "slot is empty");
        res.set_header("Cache-Control", "no-store");
        if (format == "bmp") return res.set_content(bytes, "image/bmp");
        std::string jpeg, error;
        if (!BitmapFileToJpeg(path, limits_.JpegQuality, jpeg, error)) return SendError(res, 500, AnsiToUtf8(error));
        res.set_content(jpeg, "image/jpeg");
    });
}
