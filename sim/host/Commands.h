// The line commands a test driver types on standard input, parsed into what the
// window thread then carries out.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

namespace hostsim {

enum class CommandKind {
    Person,       // person TEXT
    Active,       // close [send] | active CODE [send] [lparam=N]
    CopyData,     // copydata-hex | copydata-fill | copydata-null
    BlockCreate,  // block create [TEXT]
    BlockRemove,  // block remove
    Release,      // release
    Status,       // status
    Quit,         // quit
};

struct Command {
    CommandKind kind = CommandKind::Status;
    std::string name;  // the command word, echoed in the reply
    // Person: the text; BlockCreate: the text to write instead of the window handle.
    bool hasText = false;
    std::wstring text;
    // Active: the code and value, and whether to send instead of post.
    WPARAM code = 0;
    LPARAM value = 0;
    bool send = false;
    // CopyData: the payload exactly as the capture window will receive it.
    std::vector<unsigned char> bytes;
    bool nullData = false;
    bool hasByteCount = false;
    DWORD byteCount = 0;
    ULONG_PTR tag = 0;
};

// Parses one line (UTF-8 or ANSI, without its line break). Returns false with a
// short reason when the line is not a command.
bool parseCommand(const std::string& line, Command& command, std::string& error);

// The commands whose effect must not wait for the window thread, because that
// thread may be holding back its answer to the capture program.
bool isUrgentCommand(const std::string& line);

}  // namespace hostsim
