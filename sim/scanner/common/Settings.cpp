#include "Settings.h"

#include <limits>
#include <optional>

#include "TextUtil.h"

namespace kv90sim {
namespace {

std::optional<Outcome> ParseOutcome(std::string_view item) {
    Outcome outcome;
    if (item == "*") return outcome;
    if (item.size() >= 5 && EqualsNoCase(item.substr(0, 5), "raise")) {
        outcome.kind = Outcome::Kind::Raise;
        outcome.code = kDefaultRaiseCode;
        std::string_view rest = Trim(item.substr(5));
        if (rest.empty()) return outcome;
        if (rest[0] != ':') return std::nullopt;
        const auto code = ParseInteger(rest.substr(1));
        if (!code || *code < 0 || *code > 0xFFFFFFFFLL) return std::nullopt;
        outcome.code = static_cast<std::uint32_t>(*code);
        return outcome;
    }
    const auto value = ParseInteger(item);
    if (!value || *value < std::numeric_limits<int>::min() || *value > std::numeric_limits<int>::max()) {
        return std::nullopt;
    }
    outcome.kind = Outcome::Kind::Value;
    outcome.value = static_cast<int>(*value);
    return outcome;
}

std::optional<int> ParseCount(std::string_view text, int low, int high) {
    const auto value = ParseInteger(text);
    if (!value || *value < low || *value > high) return std::nullopt;
    return static_cast<int>(*value);
}

std::optional<std::vector<int>> ParseFrameNumbers(std::string_view text) {
    std::vector<int> numbers;
    for (std::string_view part : Split(text, ',')) {
        const auto n = ParseCount(part, 1, 100000000);
        if (!n) return std::nullopt;
        numbers.push_back(*n);
    }
    return numbers;
}

class Parser {
public:
    Settings Run(std::string_view text) {
        int lineNumber = 0;
        size_t start = 0;
        while (start <= text.size()) {
            size_t end = text.find('\n', start);
            if (end == std::string_view::npos) end = text.size();
            ++lineNumber;
            Line(text.substr(start, end - start), lineNumber);
            start = end + 1;
        }
        return std::move(settings_);
    }

private:
    void Problem(int lineNumber, std::string_view what) {
        settings_.problems.push_back("line " + std::to_string(lineNumber) + ": " + std::string(what));
    }

    void Line(std::string_view line, int lineNumber) {
        line = Trim(line);
        if (line.empty() || line[0] == '#' || line[0] == ';' || line[0] == '[') return;
        const size_t equals = line.find('=');
        if (equals == std::string_view::npos) {
            Problem(lineNumber, "no '=' in \"" + std::string(line) + "\"");
            return;
        }
        const std::string_view key = Trim(line.substr(0, equals));
        const std::string_view value = Trim(line.substr(equals + 1));
        if (!Setting(key, value)) Problem(lineNumber, "cannot use \"" + std::string(line) + "\"");
    }

    bool Setting(std::string_view key, std::string_view value) {
        if (EqualsNoCase(key, "Pace")) return Assign(settings_.paceMs, ParseCount(value, 0, 10000));
        if (EqualsNoCase(key, "Journal")) return Assign(settings_.journal, ParseCount(value, 0, 2));
        if (EqualsNoCase(key, "GapFrames")) return Assign(settings_.timing.gapFrames, ParseCount(value, 0, 100000));
        if (EqualsNoCase(key, "PlaceFrames")) return Assign(settings_.timing.placeFrames, ParseCount(value, 1, 100000));
        if (EqualsNoCase(key, "RollFrames")) return Assign(settings_.timing.rollFrames, ParseCount(value, 1, 100000));
        if (EqualsNoCase(key, "HoldFrames")) return Assign(settings_.timing.holdFrames, ParseCount(value, 0, 100000));
        if (EqualsNoCase(key, "LiftFrames")) return Assign(settings_.timing.liftFrames, ParseCount(value, 1, 100000));
        if (EqualsNoCase(key, "Seed")) {
            const auto seed = ParseInteger(value);
            if (!seed || *seed < 0 || *seed > 0xFFFFFFFFLL) return false;
            settings_.seed = static_cast<std::uint32_t>(*seed);
            return true;
        }
        if (EqualsNoCase(key, "Finger")) return Finger(value);
        if (EqualsNoCase(key, "FailFetchAt")) return Assign(settings_.failFetchAt, ParseFrameNumbers(value));
        if (EqualsNoCase(key, "ExceptionAt")) return Assign(settings_.exceptionAt, ParseFrameNumbers(value));
        if (EqualsNoCase(key, "Missing")) return Missing(value);
        if (const auto entry = FindEntry(key)) return Results(*entry, value);
        return false;
    }

    template <typename T>
    static bool Assign(T& target, std::optional<T> value) {
        if (!value) return false;
        target = std::move(*value);
        return true;
    }

    bool Finger(std::string_view value) {
        if (EqualsNoCase(value, "roll"))
            settings_.finger = FingerScript::Roll;
        else if (EqualsNoCase(value, "hold"))
            settings_.finger = FingerScript::Hold;
        else if (EqualsNoCase(value, "none"))
            settings_.finger = FingerScript::None;
        else
            return false;
        return true;
    }

    bool Missing(std::string_view value) {
        std::vector<std::string> names;
        for (std::string_view name : Split(value, ',')) {
            if (name.empty()) continue;
            const auto entry = FindEntry(name);
            if (!entry) return false;
            names.emplace_back(EntryName(*entry));
        }
        settings_.missing = std::move(names);
        return true;
    }

    bool Results(Entry entry, std::string_view value) {
        std::vector<Outcome> outcomes;
        for (std::string_view item : Split(value, ',')) {
            const auto outcome = ParseOutcome(item);
            if (!outcome) return false;
            outcomes.push_back(*outcome);
        }
        settings_.results[static_cast<int>(entry)] = std::move(outcomes);
        return true;
    }

    Settings settings_;
};

}  // namespace

Settings ParseSettings(std::string_view text) { return Parser().Run(text); }

}  // namespace kv90sim
