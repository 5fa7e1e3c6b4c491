#pragma once
// Names of the simulator's own files, which live beside the two libraries.

namespace kv90sim {

inline constexpr wchar_t kControlFileName[] = L"scanner_sim.ini";
inline constexpr wchar_t kJournalFileName[] = L"scanner_sim_calls.log";

}  // namespace kv90sim
