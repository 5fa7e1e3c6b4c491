#include "CallThrough.h"

#include <windows.h>

namespace kv90sim {

void RaiseFault(std::uint32_t code) {
    if (code == EXCEPTION_ACCESS_VIOLATION) {
        // A read of address 0, as a null pointer inside a driver would give.
        const ULONG_PTR information[2] = {0, 0};
        RaiseException(code, 0, 2, information);
    } else {
        RaiseException(code, 0, 0, nullptr);
    }
}

std::string JournalLine(Entry entry, const std::string& arguments, const std::string& outcome) {
    std::string line(EntryName(entry));
    line += '(';
    line += arguments;
    line += ") ";
    line += outcome;
    return line;
}

}  // namespace kv90sim
