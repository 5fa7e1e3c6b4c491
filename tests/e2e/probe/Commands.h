// The probe's command set: one request (tab-separated fields, UTF-8) in, one JSON reply out.
#pragma once
#include <string>
#include <vector>

// Returns the reply; sets quit when the driver asked the probe to end.
std::string runCommand(const std::vector<std::string>& fields, bool& quit);
