// One line per event on standard output, for the test driver or the integrator's
// console. The simulator is a window program, yet a parent that gives it a pipe or
// a file still finds every line there at once.
#pragma once
#include <string>

namespace hostsim {

// Writes the UTF-8 text and a line break, whole, and flushes; callable from any
// thread. Without a standard output (started from the desktop) it does nothing.
void printLine(const std::string& utf8);

}  // namespace hostsim
