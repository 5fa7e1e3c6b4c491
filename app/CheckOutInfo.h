// The single-instance guard shared by the family of capture programs: each
// program claims the names of all three, so at most one capture window of the
// family is open on the desktop.
#pragma once

class TCheckOutInfo {
public:
    // True when another capture program of the family is running; the
    // operator has then already been told. Every mutex created here stays
    // held until the process ends.
    bool CheckRunning();
};
