// The routes of the service's HTTP interface.
#include "service/ServiceRoutes.h"

#include "service/FingerDownloads.h"
#include "service/FingerNames.h"
#include "service/QueryText.h"
#include "service/TextUtf8.h"

#include <nlohmann/json.hpp>

#include <memory>

namespace {

constexpr const char* kFingersPath = "/v1/fingers/";
constexpr const char* kRecordPath = "/v1/person/record";
// A key the page meant but whose percent-encoding is broken must not pass for
// no key at all: the current person's fingers would be sent in its place.
constexpr const char* kBrokenKey = "key is not percent-encoded text";

CallerRequest CallerOf(const HttpRequest& req) {
    CallerRequest caller;
    caller.Method = req.Method;
    caller.Path = req.Path;
    caller.Host = req.Header("Host");
    caller.HasOrigin = req.Has("Origin");
    caller.Origin = req.Header("Origin");
    caller.PreflightMethod = req.Header("Access-Control-Request-Method");
    caller.AsksPrivateNetwork = req.Header("Access-Control-Request-Private-Network") == "true";
    caller.FromBrowser = req.Has("Sec-Fetch-Site") || req.Has("Sec-Fetch-Mode");
    return caller;
}

// An empty body, or a JSON object; anything else is the caller's mistake.
bool ParseBody(const HttpRequest& req, nlohmann::json& body, std::string& error) {
    if (req.Body.empty()) {
        body = nlohmann::json::object();
        return true;
    }
    body = nlohmann::json::parse(req.Body, nullptr, false);
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

RoutePlan AnswerNow(HttpAnswer answer) {
    RoutePlan plan;
    plan.Answer = std::move(answer);
    return plan;
}

RoutePlan Later(std::function<HttpAnswer()> work, RoutePlan::Kind kind = RoutePlan::Kind::Work) {
    RoutePlan plan;
    plan.Plan = kind;
    plan.Work = std::move(work);
    return plan;
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

HttpAnswer ServiceRoutes::Admit(const HttpRequest& head) {
    const CallerRequest caller = CallerOf(head);
    const CallerVerdict verdict = policy_.Judge(caller);
    if (verdict.Result == CallerVerdict::Kind::Refused) {
        refusals_.Refused(CallerPolicy::CallerName(caller), verdict.Reason);
        return ErrorAnswer(verdict.Status, verdict.Reason);
    }
    if (verdict.Result == CallerVerdict::Kind::Answered) {
        HttpAnswer answer;
        answer.Status = verdict.Status;
        answer.Headers = verdict.Headers;
        return answer;
    }
    return HttpAnswer{0, "", "", {}};
}

RoutePlan ServiceRoutes::Plan(const HttpRequest& request) {
    const CallerVerdict verdict = policy_.Judge(CallerOf(request));
    RoutePlan plan;
    const std::string& path = request.Path;
    if (path == "/v1/info" && request.Method == "GET") {
        plan = AnswerNow(JsonAnswer(200, desk_.InfoJson(version_, verdict.SeesPerson)));
    } else if ((path == "/v1/station/open" || path == "/v1/station/close" || path == "/v1/person") &&
               request.Method == "POST") {
        plan = Command(request, verdict);
    } else if (path == "/v1/events" && request.Method == "GET") {
        plan.Events = events_.Subscribe(request.Header("Last-Event-ID"));
        if (plan.Events) {
            plan.Plan = RoutePlan::Kind::Events;
        } else {
            plan = AnswerNow(ErrorAnswer(503, "service is stopping"));
        }
    } else if (path == kRecordPath && request.Method == "GET") {
        plan = Record(request);
    } else if (path.compare(0, std::char_traits<char>::length(kFingersPath), kFingersPath) == 0 &&
               request.Method == "GET") {
        plan = Fingers(path.substr(std::char_traits<char>::length(kFingersPath)), request, verdict);
    } else {
        plan = AnswerNow(ErrorAnswer(404, "no such route"));
    }
    plan.Headers = verdict.Headers;
    return plan;
}

RoutePlan ServiceRoutes::Command(const HttpRequest& request, const CallerVerdict& verdict) {
    nlohmann::json body;
    std::string error;
    if (!ParseBody(request, body, error)) return AnswerNow(ErrorAnswer(400, error));
    std::function<StationAnswer()> command;
    if (request.Path == "/v1/station/open") {
        command = [this] { return desk_.Open(); };
    } else if (request.Path == "/v1/station/close") {
        command = [this] { return desk_.Close(); };
    } else {
        const auto key = body.find("key");
        const auto name = body.find("name");
        if (key == body.end() || !key->is_string() || name == body.end() || !name->is_string()) {
            return AnswerNow(ErrorAnswer(400, "key and name must be texts"));
        }
        std::wstring wideKey, wideName;
        if (!Utf8ToWide(key->get<std::string>(), wideKey) || !Utf8ToWide(name->get<std::string>(), wideName)) {
            return AnswerNow(ErrorAnswer(400, "key and name must be UTF-8"));
        }
        command = [this, wideKey, wideName] { return desk_.SetPerson(wideKey, wideName); };
    }
    const bool seesPerson = verdict.SeesPerson;
    // The state after the command, or the command's refusal.
    return Later([this, command, seesPerson] {
        const StationAnswer answer = command();
        if (!answer.Ok()) return ErrorAnswer(answer.Status, answer.Error);
        return JsonAnswer(200, desk_.InfoJson(version_, seesPerson));
    });
}

RoutePlan ServiceRoutes::Fingers(const std::string& slotText, const HttpRequest& request, const CallerVerdict&) {
    const int slot = slotText.size() == 1 && slotText[0] >= '0' && slotText[0] <= '9' ? slotText[0] - '0' : -1;
    if (slot < 0 || slot >= kSlotCount) return AnswerNow(ErrorAnswer(404, "no such slot"));
    FingerDownload download;
    std::string format = "bmp";
    if (QueryHas(request.Query, "format") && !QueryValue(request.Query, "format", format)) format = "";
    if (!ParseFingerForm(format, download.Form)) {
        return AnswerNow(ErrorAnswer(400, "format must be bmp, jpeg, png, wsq or jp2"));
    }
    std::string key;
    const bool hasKey = QueryHas(request.Query, "key");
    if (hasKey && !QueryValue(request.Query, "key", key)) return AnswerNow(ErrorAnswer(400, kBrokenKey));
    const StationDesk::SlotLookup lookup = desk_.SlotFile(slot, hasKey ? &key : nullptr);
    if (lookup.Outcome == StationDesk::SlotLookup::Result::OtherPerson) {
        return AnswerNow(ErrorAnswer(409, "another person is named now"));
    }
    if (lookup.Outcome == StationDesk::SlotLookup::Result::Empty) return AnswerNow(ErrorAnswer(404, "slot is empty"));
    download.File = lookup.File;
    download.Key = lookup.Key;
    download.Slot = slot;
    download.JpegQuality = limits_.JpegQuality;
    download.RecordsIni = limits_.RecordsIni;
    // Reading and compressing a finger takes milliseconds the server's thread owes other callers.
    return Later([download] { return FingerAnswer(download); }, RoutePlan::Kind::Encode);
}

RoutePlan ServiceRoutes::Record(const HttpRequest& request) {
    RecordDownload download;
    std::string format = "an2k";
    if (QueryHas(request.Query, "format") && !QueryValue(request.Query, "format", format)) format = "";
    if (!kv90rec::ParseRecordFormat(format, download.Format)) {
        return AnswerNow(ErrorAnswer(400, "format must be an2k or iso19794-4"));
    }
    std::string image;
    download.ImageGiven = QueryHas(request.Query, "image");
    if (download.ImageGiven && (!QueryValue(request.Query, "image", image) ||
                                !kv90rec::ParseImageFormat(image, download.Image) ||
                                download.Image == kv90rec::ImageFormat::Bmp)) {
        return AnswerNow(ErrorAnswer(400, "image must be wsq, png or jp2"));
    }
    std::string key;
    const bool hasKey = QueryHas(request.Query, "key");
    if (hasKey && !QueryValue(request.Query, "key", key)) return AnswerNow(ErrorAnswer(400, kBrokenKey));
    StationDesk::PersonLookup lookup = desk_.CapturedFingers(hasKey ? &key : nullptr);
    if (lookup.Outcome == StationDesk::SlotLookup::Result::OtherPerson) {
        return AnswerNow(ErrorAnswer(409, "another person is named now"));
    }
    if (lookup.Outcome == StationDesk::SlotLookup::Result::Empty) {
        return AnswerNow(ErrorAnswer(404, "no finger was captured"));
    }
    download.Key = std::move(lookup.Key);
    download.Name = std::move(lookup.Name);
    download.Files = std::move(lookup.Files);
    download.RecordsIni = limits_.RecordsIni;
    // Ten fingers compressed take a fifth of a second and more: an encoder's time, not the server thread's.
    return Later([download] { return RecordAnswer(download); }, RoutePlan::Kind::Encode);
}
