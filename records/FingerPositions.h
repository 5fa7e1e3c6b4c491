// The station's ten slots and the finger position codes both record standards
// share (ANSI/NIST-ITL and ISO/IEC 19794-4): 1..5 the right hand from thumb to
// little finger, 6..10 the left hand likewise.
#pragma once

namespace kv90rec {

constexpr int kSlotCount = 10;

// The position code of the finger captured into `slot` (0..9); 0, the code of
// an unknown finger, for any other number.
int FingerPositionOfSlot(int slot);
// The slot a position code 1..10 is captured into; -1 for any other code.
int SlotOfFingerPosition(int position);
// "right thumb" .. "left little finger"; "unknown finger" outside 1..10.
const char* FingerPositionName(int position);

}  // namespace kv90rec
