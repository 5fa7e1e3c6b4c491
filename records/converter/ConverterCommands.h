// The converter's two commands. Each returns the process's exit code and, for
// anything but success, the reason in `message`; `report` says what was written.
#pragma once

#include "ConverterArguments.h"

#include <string>

enum ExitCode {
    kExitOk = 0,
    kExitUsage = 1,   // the command line asks for something the converter cannot do
    kExitInput = 2,   // an input (file, folder, settings) cannot be read or used
    kExitOutput = 3,  // the result cannot be written
};

// One file: a slot bitmap to PNG, JPEG 2000, WSQ or a bitmap; a WSQ file back to PNG or a bitmap.
int RunImageCommand(const ConverterArguments& args, std::string& report, std::string& message);

// A folder of one person's slot files to an ANSI/NIST-ITL transaction or an
// ISO/IEC 19794-4 finger image record. `defaultConfig` is Config\Records.ini
// beside the converter, read when no --config is given.
int RunRecordCommand(const ConverterArguments& args, const std::wstring& defaultConfig, std::string& report,
                     std::string& message);
