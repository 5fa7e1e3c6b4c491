// Files that are whole or absent. A file's new content is written under a
// temporary name beside it (in its own folder, so that the rename stays on one
// volume), flushed to the disk, and only then takes the file's name in one
// replacing rename. Whatever fails on the way, the temporary file goes and the
// file that was there stays exactly as it was; a disk that fills up never
// leaves a file cut short under its real name.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <string>

// The signature of the system's WriteFile, through which a staged file writes.
using WriteFileCall = BOOL(WINAPI*)(HANDLE, LPCVOID, DWORD, LPDWORD, LPOVERLAPPED);

class TStagedFile {
public:
    // Nothing is created yet; `target` is the full path of the file to replace.
    explicit TStagedFile(std::string target);
    // Removes the temporary file unless it took the target's place.
    ~TStagedFile();
    TStagedFile(const TStagedFile&) = delete;
    TStagedFile& operator=(const TStagedFile&) = delete;

    const std::string& Target() const { return target_; }
    // The temporary file's path; empty until Write or Create.
    const std::string& Path() const { return path_; }
    bool Placed() const { return placed_; }

    // Creates the empty temporary file, for content that the system writes
    // into it (see TIniFile); raises EFileError naming the target.
    void Create();
    // Creates the temporary file and writes all the bytes into it through
    // `write`, then flushes it. A write that stops short is followed by
    // another for the rest, so that the system says why it stopped (a full
    // disk); one that neither writes nor says why is a failure too.
    // Raises EFileError naming the target and the reason.
    void Write(const std::string& bytes, WriteFileCall write = ::WriteFile);
    // Flushes content that another writer put into the temporary file.
    void Flush();
    // Replaces the target with the temporary file in one rename written
    // through to the disk; raises EFileError, the target then as it was.
    void Commit();

private:
    std::string target_;
    std::string path_;
    bool placed_ = false;
};

// Puts staged files in place as one: every target gets its new content, or,
// when one of them cannot, every target is as it was. The old files are kept
// aside until all the new ones are in place. Raises the EFileError of the
// file that could not be put in place.
void CommitTogether(std::initializer_list<TStagedFile*> files);
