#include "Commands.h"

#include "LinkCore.h"
#include "NumberText.h"

#include <sstream>

namespace hostsim {

namespace {

// Large enough for any hostile payload a test wants; small enough not to exhaust
// a 32-bit process.
constexpr std::uint64_t kMaxPayload = 64ull * 1024ull * 1024ull;

std::vector<std::string> words(const std::string& text) {
    std::vector<std::string> result;
    std::istringstream stream(text);
    std::string word;
    while (stream >> word) result.push_back(word);
    return result;
}

// The line after its first word and the single space that follows it, so that a
// person text keeps its own spaces.
std::string restAfterWord(const std::string& line, const std::string& word) {
    if (line.size() <= word.size()) return {};
    return line.substr(word.size() + 1);
}

bool parseCopyDataOptions(const std::vector<std::string>& list, size_t first, Command& command, std::string& error) {
    for (size_t i = first; i < list.size(); ++i) {
        const std::string& item = list[i];
        std::uint64_t number = 0;
        if (item.compare(0, 3, "cb=") == 0) {
            if (!parseUnsigned(item.substr(3), kMaxPayload, number)) {
                error = "cb= needs a byte count up to 67108864";
                return false;
            }
            command.hasByteCount = true;
            command.byteCount = static_cast<DWORD>(number);
        } else if (item.compare(0, 3, "dw=") == 0) {
            if (!parseUnsigned(item.substr(3), 0xFFFFFFFFull, number)) {
                error = "dw= needs an unsigned 32-bit number";
                return false;
            }
            command.tag = static_cast<ULONG_PTR>(number);
        } else {
            error = "unexpected \"" + item + "\"";
            return false;
        }
    }
    return true;
}

bool parseActive(const std::vector<std::string>& list, size_t first, Command& command, std::string& error) {
    for (size_t i = first; i < list.size(); ++i) {
        const std::string& item = list[i];
        if (item == "send") {
            command.send = true;
        } else if (item == "post") {
            command.send = false;
        } else if (item.compare(0, 7, "lparam=") == 0) {
            std::int64_t value = 0;
            if (!parseSigned(item.substr(7), value)) {
                error = "lparam= needs a number";
                return false;
            }
            command.value = static_cast<LPARAM>(value);
        } else {
            error = "unexpected \"" + item + "\"";
            return false;
        }
    }
    return true;
}

}  // namespace

bool parseCommand(const std::string& line, Command& command, std::string& error) {
    Command result;
    const std::vector<std::string> list = words(line);
    if (list.empty()) {
        error = "empty line";
        return false;
    }
    const std::string& word = list[0];
    // The command word must start the line for restAfterWord to be right.
    if (line.compare(0, word.size(), word) != 0) {
        error = "a command starts at the beginning of its line";
        return false;
    }
    result.name = word;

    if (word == "person") {
        result.kind = CommandKind::Person;
        result.hasText = true;
        result.text = fromUtf8OrAnsi(restAfterWord(line, word));
    } else if (word == "close") {
        result.kind = CommandKind::Active;
        result.code = kCodeClose;
        if (!parseActive(list, 1, result, error)) return false;
    } else if (word == "active") {
        result.kind = CommandKind::Active;
        std::int64_t code = 0;
        if (list.size() < 2 || !parseSigned(list[1], code)) {
            error = "active needs a code";
            return false;
        }
        result.code = static_cast<WPARAM>(code);
        if (!parseActive(list, 2, result, error)) return false;
    } else if (word == "copydata-hex") {
        result.kind = CommandKind::CopyData;
        if (list.size() < 2) {
            error = "copydata-hex needs hex bytes, or - for none";
            return false;
        }
        if (list[1] != "-" && !parseHex(list[1], result.bytes)) {
            error = "copydata-hex needs pairs of hex digits";
            return false;
        }
        if (!parseCopyDataOptions(list, 2, result, error)) return false;
    } else if (word == "copydata-fill") {
        result.kind = CommandKind::CopyData;
        std::vector<unsigned char> fill;
        std::uint64_t count = 0;
        if (list.size() < 3 || !parseHex(list[1], fill) || fill.size() != 1 ||
            !parseUnsigned(list[2], kMaxPayload, count)) {
            error = "copydata-fill needs one hex byte and a count up to 67108864";
            return false;
        }
        result.bytes.assign(static_cast<size_t>(count), fill[0]);
        if (!parseCopyDataOptions(list, 3, result, error)) return false;
    } else if (word == "copydata-null") {
        result.kind = CommandKind::CopyData;
        result.nullData = true;
        if (!parseCopyDataOptions(list, 1, result, error)) return false;
    } else if (word == "block") {
        if (list.size() >= 2 && list[1] == "create") {
            result.kind = CommandKind::BlockCreate;
            const std::string rest = restAfterWord(line, word);
            const std::string text = restAfterWord(rest, "create");
            result.hasText = !text.empty();
            result.text = fromUtf8OrAnsi(text);
        } else if (list.size() == 2 && list[1] == "remove") {
            result.kind = CommandKind::BlockRemove;
        } else {
            error = "block create [TEXT] or block remove";
            return false;
        }
    } else if (word == "release" && list.size() == 1) {
        result.kind = CommandKind::Release;
    } else if (word == "status" && list.size() == 1) {
        result.kind = CommandKind::Status;
    } else if (word == "quit" && list.size() == 1) {
        result.kind = CommandKind::Quit;
    } else {
        error = "unknown command \"" + word + "\"";
        return false;
    }
    command = result;
    return true;
}

bool isUrgentCommand(const std::string& line) {
    const std::vector<std::string> list = words(line);
    return list.size() == 1 && (list[0] == "release" || list[0] == "quit");
}

}  // namespace hostsim
