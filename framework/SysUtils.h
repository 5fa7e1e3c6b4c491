// Text, number, date and file helpers. Texts are narrow strings in the system
// code page (GBK), so every scan that looks for a delimiter steps over the
// trail bytes of double-byte characters.
#pragma once

#include <windows.h>

#include <string>

std::string Trim(const std::string& s);
// Upper-cases the ASCII letters only, never a trail byte of a double-byte character.
std::string UpperCase(const std::string& s);
bool SameText(const std::string& a, const std::string& b);

std::string IntToStr(long long value);
// An optionally signed decimal number in the 32-bit range, nothing else;
// anything else raises EConvertError "'<text>' is not a valid integer value".
int StrToInt(const std::string& s);

// Index of the last character of s that is one of delimiters, or npos.
size_t LastDelimiter(const std::string& delimiters, const std::string& s);
// The path up to and including its last '\' or ':' ("" when it has none).
std::string ExtractFilePath(const std::string& path);
std::string ExtractFileName(const std::string& path);
// The extension with its dot (".bmp"), or "" when the name has none.
std::string ExtractFileExt(const std::string& path);

// The full path of the running program file ("" when it cannot be had).
std::string ModuleFileName();

bool FileExists(const std::string& path);
bool DeleteFile(const std::string& path);
// Replaces the file with the bytes, whole or not at all (see StagedFile.h);
// raises EFileError on failure, the file then as it was.
void WriteFileBytes(const std::string& path, const std::string& bytes);
std::string ReadFileBytes(const std::string& path);

// The system's text for an error code, without the trailing line break.
std::string SysErrorMessage(DWORD code);
// Why a call failed: the system's text for the error it set, or `otherwise`
// when it set none. Some calls can fail without setting one (GDI calls, a
// write that stops short yet succeeds); the caller clears the last error
// before such a call, so that a failure never reads "the operation completed
// successfully".
std::string SysErrorReason(DWORD code, const std::string& otherwise);

SYSTEMTIME Now();
// Formats with the tokens yyyy, mm, dd, hh, nn, ss; other characters are copied.
std::string FormatDateTime(const std::string& format, const SYSTEMTIME& time);
