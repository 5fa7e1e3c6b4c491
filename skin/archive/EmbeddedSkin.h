// The program's own skin: a skin archive carried as an RCDATA resource of the
// executable and loaded at start-up through a temporary copy on disk.
#pragma once

#include "skin/archive/SkinReader.h"

#include <cstddef>
#include <string>

// Name of the RCDATA resource that holds the embedded skin archive.
#define KV90_SKIN_RESOURCE_NAME "KV90_SKIN"

// A skin archive held in memory, saved to a temporary ".ssk" file whose name
// no existing file has; the file is deleted when the copy goes away.
class TempSkinCopy {
public:
    // Saves the data; a failed save is retried under a fresh name a few times.
    TempSkinCopy(const void* data, std::size_t size);
    ~TempSkinCopy();
    TempSkinCopy(const TempSkinCopy&) = delete;
    TempSkinCopy& operator=(const TempSkinCopy&) = delete;

    // Whether the copy was saved.
    bool Saved() const { return !path_.empty(); }
    // The copy's path; empty when it could not be saved.
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

// Loads a skin archive held in memory through a temporary copy. Errors of
// reading the skin propagate; returns whether the reader is ready afterwards.
bool LoadSkinFromMemory(TSkinReader& reader, const void* data, std::size_t size, const std::string& password = "");

// The executable's embedded skin archive as it lies in memory (size 0 when the
// resource is missing), for an engine that reads it through TempSkinCopy itself.
struct EmbeddedSkinArchive {
    const void* data = nullptr;
    std::size_t size = 0;
};
EmbeddedSkinArchive FindEmbeddedSkinArchive();

// Loads the executable's embedded skin archive (resource KV90_SKIN_RESOURCE_NAME).
// Returns false, leaving the reader untouched, when the resource is missing.
bool LoadEmbeddedSkin(TSkinReader& reader, const std::string& password = "");
