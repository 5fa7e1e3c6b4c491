// Tsk2SkinFileReader: one parsed skin, read from the "SKINDATA.SK2" entry of a
// skin archive. It owns the skin's bitmaps and its integer, flag and text tables.
#pragma once

#include "skin/archive/SkinBitmap.h"
#include "skin/archive/SkinTables.h"

#include <cstdint>
#include <string>

// Messages of the errors raised while a skin archive is read.
extern const char* const kSkinReadFailedMessage;     // "Failed to read skin file!"
extern const char* const kSkinWrongPasswordMessage;  // "Wrong password!"

class Tsk2SkinFileReader {
public:
    // Extracts the skin resource file of the archive into a temporary file,
    // parses it and deletes the temporary file again. Raises Exception with
    // "Wrong password!" or "Failed to read skin file!".
    Tsk2SkinFileReader(const std::string& archivePath, const std::string& password);

    Tsk2SkinFileReader(const Tsk2SkinFileReader&) = delete;
    Tsk2SkinFileReader& operator=(const Tsk2SkinFileReader&) = delete;

    // The bitmap of that name (any letter case), or null; the reader keeps owning it.
    SkinBitmap* GetBitmap(const std::string& name) const;
    // The integer, or -1 when missing or unreadable.
    int GetInt(const std::string& name) const;
    // The low byte of the flag, or 0 when missing or unreadable.
    int GetBool(const std::string& name) const;
    // The text, or empty.
    std::string GetText(const std::string& name) const;

    // Sets every bitmap to fixed-colour transparency with this colour.
    void SetTransColor(SkinColor color);

    const SkinTables& Tables() const { return tables_; }

private:
    SkinTables tables_;
};
