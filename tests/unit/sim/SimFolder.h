#pragma once
// A private copy of the two simulated libraries in a fresh folder, so that
// each test has its own control file and journal and loads the libraries
// with fresh state.

#include <windows.h>

#include <string>

namespace kv90sim_test {

class SimFolder {
public:
    SimFolder();
    SimFolder(const SimFolder&) = delete;
    SimFolder& operator=(const SimFolder&) = delete;
    ~SimFolder();

    const std::wstring& path() const { return path_; }
    std::wstring File(const wchar_t* name) const { return path_ + name; }
    // The same folder as an ANSI path, as the program passes paths.
    std::string AnsiFile(const char* name) const;

    // Replaces the control file; its time stamp always moves on, so the
    // libraries see the change at their next call.
    void WriteControl(const std::string& text);
    void RemoveControl();
    std::string ReadJournal() const;
    bool JournalExists() const;

private:
    std::wstring path_;
    int writes_ = 0;
};

// A library loaded from a SimFolder, freed at the end of the test.
class SimLibrary {
public:
    SimLibrary(const SimFolder& folder, const wchar_t* file);
    SimLibrary(const SimLibrary&) = delete;
    SimLibrary& operator=(const SimLibrary&) = delete;
    ~SimLibrary();

    bool loaded() const { return module_ != nullptr; }
    bool Exports(const char* name) const { return GetProcAddress(module_, name) != nullptr; }

    template <typename Function>
    Function Get(const char* name) const {
        return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module_, name)));
    }

private:
    HMODULE module_;
};

std::string ReadWholeFile(const std::wstring& path);

}  // namespace kv90sim_test
