// The person text a host sends the station: key "$" name in the system code
// page. The station splits at the first "$" and names the person's finger files
// key$name_N.bmp; it refuses to store a finger under a name the file system
// would not take. The host refuses such a text before sending anything, so the
// operator never meets a finger that cannot be stored.
#pragma once
#include <windows.h>

#include <string>

namespace kv90host {

enum class PersonRefusal {
    None,
    KeyHasDollar,       // the station would split inside the key
    NotInCodePage,      // a character the code page cannot hold
    UnsafeForFileName,  // a separator, a character no file name takes, or a device name
    TooLong,            // the person file name or its full path is longer than the station stores
};

// Converts key "$" name to the code page (without the zero byte the message
// adds). tempFolder is the station's Temp\ folder, for the length of the whole
// path; empty when unknown, then only the file name's own length is judged.
PersonRefusal encodePersonText(const std::wstring& key, const std::wstring& name, const std::wstring& tempFolder,
                               UINT codePage, std::string& bytes);

// A sentence an integrator can show for a refusal.
std::wstring describePersonRefusal(PersonRefusal refusal);

}  // namespace kv90host
