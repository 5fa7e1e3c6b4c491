// A fresh folder under the system's temporary folder, removed with all it holds.
#pragma once

#include <set>
#include <string>

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder's path, ending with its separator.
    const std::string& Path() const { return path_; }
    void MakeDir(const std::string& relative) const;
    void Write(const std::string& relative, const std::string& bytes) const;
    std::string Read(const std::string& relative) const;
    // The names of the files directly in the folder (or in a folder inside it).
    std::set<std::string> Files(const std::string& relative = "") const;

private:
    std::string path_;
};
