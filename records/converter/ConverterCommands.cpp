#include "ConverterCommands.h"

#include "OutputFile.h"
#include "records/GbkText.h"
#include "records/FileBytes.h"
#include "records/ImageEncoding.h"
#include "records/PersonFolder.h"
#include "records/PersonRecord.h"
#include "records/SlotBitmap.h"
#include "records/wsq/WsqCodec.h"

#include <windows.h>

#include <cstdlib>

namespace {

bool ParseBitRate(const std::string& text, double& bitRate) {
    if (text.empty()) return true;
    char* end = nullptr;
    bitRate = std::strtod(text.c_str(), &end);
    return *end == '\0' && bitRate >= kv90rec::wsq::kMinBitRate && bitRate <= kv90rec::wsq::kMaxBitRate;
}

int Written(const std::wstring& path, size_t size, std::string& report) {
    report = "wrote " + kv90rec::WideToUtf8(path) + " (" + std::to_string(size) + " bytes)";
    return kExitOk;
}

}  // namespace

int RunImageCommand(const ConverterArguments& args, std::string& report, std::string& message) {
    using namespace kv90rec;
    const std::string inputKind = ExtensionOf(args.input);
    const std::string outputName = args.imageFormat.empty() ? ExtensionOf(args.output) : args.imageFormat;
    ImageFormat format;
    if (!ParseImageFormat(outputName, format)) {
        message = "cannot tell the output format from \"" + outputName + "\": use .png, .jp2, .wsq or .bmp, or --image";
        return kExitUsage;
    }
    ImageOptions options;
    if (!ParseBitRate(args.bitRate, options.wsqBitRate)) {
        message = "--bitrate must be a number from 0.5 to 2.25 (bits per pixel)";
        return kExitUsage;
    }
    if (inputKind != "bmp" && inputKind != "wsq") {
        message = "the input must be a slot bitmap (.bmp) or a WSQ file (.wsq)";
        return kExitUsage;
    }
    std::vector<uint8_t> input;
    if (!ReadFileBytes(args.input, input)) {
        message = "cannot read " + WideToUtf8(args.input);
        return kExitInput;
    }
    GrayImage image;
    std::string reason;
    const bool read = inputKind == "bmp" ? ReadSlotBitmap(input.data(), input.size(), image, reason)
                                         : wsq::Decode(input.data(), input.size(), image, reason);
    if (!read) {
        message = WideToUtf8(args.input) + ": " + reason;
        return kExitInput;
    }
    std::vector<uint8_t> output;
    if (inputKind == "bmp" && format == ImageFormat::Bmp) {
        output = input;
    } else if (!EncodeImage(image, format, options, output, reason)) {
        message = reason;
        return kExitInput;
    }
    if (!WriteWholeFile(args.output, output, message)) return kExitOutput;
    return Written(args.output, output.size(), report);
}

int RunRecordCommand(const ConverterArguments& args, const std::wstring& defaultConfig, std::string& report,
                     std::string& message) {
    using namespace kv90rec;
    std::string formatName = args.recordFormat;
    if (formatName.empty()) {
        const std::string extension = ExtensionOf(args.output);
        if (extension == "an2" || extension == "an2k" || extension == "eft" || extension == "nist") formatName = "an2k";
        if (extension == "fir" || extension == "iso") formatName = "iso19794-4";
    }
    RecordFormat format;
    if (!ParseRecordFormat(formatName, format)) {
        message = "cannot tell the record format: use --format an2k or --format iso19794-4 (or .an2 / .fir)";
        return kExitUsage;
    }
    RecordsConfig config;
    const std::wstring configPath = args.config.empty() ? defaultConfig : args.config;
    if (!args.config.empty() && GetFileAttributesW(configPath.c_str()) == INVALID_FILE_ATTRIBUTES) {
        message = "the settings file " + WideToUtf8(configPath) + " does not exist";
        return kExitInput;
    }
    if (!LoadRecordsConfig(configPath, config, message)) return kExitInput;
    ImageFormat image = config.recordImage;
    if (!args.imageFormat.empty() && (!ParseImageFormat(args.imageFormat, image) || image == ImageFormat::Bmp)) {
        message = "--image must be wsq, png or jp2";
        return kExitUsage;
    }
    if (!ParseBitRate(args.bitRate, config.wsqBitRate)) {
        message = "--bitrate must be a number from 0.5 to 2.25 (bits per pixel)";
        return kExitUsage;
    }
    PersonFingers person;
    if (!LoadPersonFolder(args.input, args.key, person, message)) return kExitInput;
    std::vector<uint8_t> output;
    if (!PersonRecord(format, image, person, config, output, message)) return kExitInput;
    if (!WriteWholeFile(args.output, output, message)) return kExitOutput;
    Written(args.output, output.size(), report);
    report += ": " + std::to_string(person.fingers.size()) + " finger(s)";
    if (!person.key.empty()) report += " of " + person.key;
    return kExitOk;
}
