// Reading one entry out of a skin archive: a ZIP archive whose first two bytes
// are "SK" instead of "PK", with its end record exactly at the end of the file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Results of extracting a skin entry.
constexpr int kSkinExtractOk = 0;
constexpr int kSkinExtractFailed = 1;
constexpr int kSkinExtractWrongPassword = 2;

// The name of the skin resource file inside every skin archive.
constexpr const char* kSkinEntryName = "SKINDATA.SK2";

// Extracts the entry named `entryName` (matched without regard to letter case)
// from an archive held in memory. Returns kSkinExtractOk with the inflated data
// in `out`, kSkinExtractFailed when the archive or the entry cannot be read or
// the extraction is empty, or kSkinExtractWrongPassword when an encrypted entry
// gets an empty or wrong password or inflates to a size other than recorded.
int ExtractArchiveEntry(const std::uint8_t* archive, std::size_t size, const std::string& entryName,
                        const std::string& password, std::vector<std::uint8_t>& out);

// The same for an archive on disk; the inflated entry is written to
// `targetPath`, which is deleted whenever the result is not kSkinExtractOk.
int ExtractSkinEntry(const std::string& archivePath, const std::string& entryName, const std::string& targetPath,
                     const std::string& password);
