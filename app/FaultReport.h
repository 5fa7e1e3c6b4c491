// The last word of a program that meets a fault nothing in it handles (an access
// violation outside the guarded device calls, a stack overflow): a log line with
// the exception's code and address, a minidump in LogFiles\ for the developers,
// and the close notification to the host, so that it does not wait on a station
// that is gone. The program then ends.
#pragma once

// Installs the report as the process's last exception filter; once, at start-up.
void InstallFaultReport();
