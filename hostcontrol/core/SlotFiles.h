// The finger files the station writes under its Temp\ folder, named as the
// station names them, for a host that copies them when told a slot was stored.
#pragma once
#include <string>

namespace kv90host {

// installDir + "\Temp\" (one separator, whether installDir ends with one or not).
std::wstring tempFolderOf(const std::wstring& installDir);
// "0.bmp" .. "9.bmp"; empty for any other number.
std::wstring slotFileName(int slot);
// tempFolder + "N.bmp"; empty for a slot outside 0..9. Exists from the slot's
// capture until the slot is captured again, the slots are cleared or the
// station closes.
std::wstring slotFilePath(const std::wstring& tempFolder, int slot);
// tempFolder + key + "$" + name + "_N.bmp", exactly as the station joins them;
// empty for a slot outside 0..9. The station never deletes it.
std::wstring personSlotFileName(const std::wstring& key, const std::wstring& name, int slot);
std::wstring personSlotFilePath(const std::wstring& tempFolder, const std::wstring& key, const std::wstring& name,
                                int slot);

}  // namespace kv90host
