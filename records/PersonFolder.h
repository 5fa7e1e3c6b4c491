// A person's slot files on disk, gathered for a record: the files the station
// leaves under Temp\ ("key$name_N.bmp" and "N.bmp"), or a copy an office keeps.
#pragma once

#include "records/PersonFingers.h"

#include <string>
#include <vector>

namespace kv90rec {

// The slot file of `slot` read into `person` (replacing one of the same slot,
// keeping slot order), its last writing as the capture time. False with a
// reason naming the file.
bool AddSlotFile(PersonFingers& person, int slot, const std::wstring& path, std::string& error);

// How a file name in a folder names a slot: "key$name_N.bmp" (a person file)
// or "N.bmp" (a plain slot file, key and name empty). False for any other name.
struct SlotFileName {
    std::wstring key;
    std::wstring name;
    int slot = -1;
    bool person = false;
};
bool ParseSlotFileName(const std::wstring& fileName, SlotFileName& parsed);

// The fingers of one person in `folder`. With a key, that person's files;
// without, the only person whose files are there, or else the plain slot files.
// False with a reason when none are found, or when several people's are and no
// key says whose.
bool LoadPersonFolder(const std::wstring& folder, const std::wstring& key, PersonFingers& person, std::string& error);

// The current person's fingers: the plain slot files "0.bmp" .. "9.bmp" that
// are in `folder` (the station's Temp\ folder); key and name are left to the
// caller, who knows them from the link. False with "no finger was captured"
// when there is none, or with a reason for a file that cannot be read.
bool LoadPlainSlotFiles(const std::wstring& folder, PersonFingers& person, std::string& error);

}  // namespace kv90rec
