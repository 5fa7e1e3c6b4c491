// Named kernel objects that the probe creates, holds for a test and inspects:
// the mutexes of the single-instance guard and the shared-memory blocks of the host link.
#pragma once
#include <string>
#include <vector>

struct MutexHold {
    bool held;     // the probe now holds a handle to the name
    bool existed;  // the name existed before the probe asked for it
};

MutexHold holdMutex(const std::string& name);
bool releaseMutex(const std::string& name);
// Looks without creating, so that asking never claims the name.
bool mutexExists(const std::string& name);

// Returns the first bytes of an existing mapping; throws std::runtime_error with the
// system error when it cannot be opened.
std::vector<unsigned char> readMapping(const std::string& name, size_t size);
// Creates (or opens) a named mapping of the size, writes the bytes at its start and keeps it open.
bool createMapping(const std::string& name, size_t size, const std::vector<unsigned char>& bytes, bool& existed);
bool closeMapping(const std::string& name);

// Opens a file for reading and keeps it open, sharing reading only, as another program
// that looks at a finger image does: the file can be neither written nor deleted meanwhile.
bool holdFile(const std::string& path);
bool releaseFile(const std::string& path);
