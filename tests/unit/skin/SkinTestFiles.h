// Files for the skin tests: a private temporary folder that the system's
// temporary folder points at while a test runs, so that a test can see every
// temporary file the reader makes; and the fixtures built into the test program.
#pragma once

#include "SkinTestBuilders.h"

#include <string>
#include <vector>

class PrivateTempFolder {
public:
    PrivateTempFolder();
    ~PrivateTempFolder();
    PrivateTempFolder(const PrivateTempFolder&) = delete;
    PrivateTempFolder& operator=(const PrivateTempFolder&) = delete;

    // The folder, ending with a backslash.
    const std::string& Path() const { return path_; }
    // Writes a file into the folder and returns its path.
    std::string Write(const std::string& name, const Bytes& bytes) const;
    // Names of the files in the folder.
    std::vector<std::string> Files() const;

private:
    std::string path_;
    std::string oldTmp_, oldTemp_;
};

// An RCDATA resource of the test program (a fixture under data/).
Bytes FixtureBytes(const char* resourceName);
