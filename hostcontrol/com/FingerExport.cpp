#include "FingerExport.h"

#include "WholeFile.h"

#include "records/GbkText.h"
#include "records/ImageEncoding.h"
#include "records/PersonFolder.h"
#include "records/PersonRecord.h"
#include "records/RecordsConfig.h"

namespace kv90com {

namespace {

constexpr int kSlots = 10;

bool fail(ExportError& error, ExportFailure failure, std::wstring description) {
    error.failure = failure;
    error.description = std::move(description);
    return false;
}

std::wstring wideOf(const std::string& utf8) {
    if (utf8.empty()) return {};
    const int size = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring text(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), &text[0], size);
    return text;
}

// Format names are ASCII; anything else can name no format.
bool asciiOf(const std::wstring& text, std::string& ascii) {
    ascii.clear();
    for (wchar_t c : text) {
        if (c < 0x20 || c > 0x7e) return false;
        ascii += static_cast<char>(c);
    }
    return true;
}

bool isJpegName(const std::string& name) {
    std::string lower;
    for (char c : name) lower += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return lower == "jpeg" || lower == "jpg";
}

bool parseFingerFormat(const std::wstring& text, kv90rec::ImageFormat& format, ExportError& error) {
    std::string name;
    if (asciiOf(text, name) && kv90rec::ParseImageFormat(name, format)) return true;
    if (isJpegName(name))
        // A lossy picture of a finger loses the ridge detail matching needs; the lossless forms keep it.
        return fail(error, ExportFailure::UnknownFormat,
                    L"控件不提供 JPEG 格式：JPEG 有损，不适合指纹比对；请用 png 或 jp2（无损）或 wsq。");
    return fail(error, ExportFailure::UnknownFormat,
                L"不支持的图像格式“" + text + L"”：可用 bmp、png、wsq 或 jp2。");
}

bool parseRecordFormat(const std::wstring& text, kv90rec::RecordFormat& format, bool& imageGiven,
                       kv90rec::ImageFormat& image, ExportError& error) {
    std::string whole;
    const bool ascii = asciiOf(text, whole);
    const size_t colon = whole.find(':');
    imageGiven = colon != std::string::npos;
    const bool known = ascii && kv90rec::ParseRecordFormat(whole.substr(0, colon), format) &&
                       (!imageGiven || (kv90rec::ParseImageFormat(whole.substr(colon + 1), image) &&
                                        image != kv90rec::ImageFormat::Bmp));
    if (known) return true;
    return fail(error, ExportFailure::UnknownFormat,
                L"不支持的记录格式“" + text + L"”：可用 an2k 或 iso19794-4，可加 :wsq、:png 或 :jp2。");
}

bool fileExists(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool loadSettings(const std::wstring& path, kv90rec::RecordsConfig& config, ExportError& error) {
    std::string reason;
    if (kv90rec::LoadRecordsConfig(path, config, reason)) return true;
    return fail(error, ExportFailure::BadSettings, L"记录设置 " + path + L" 有误：" + wideOf(reason));
}

}  // namespace

std::wstring FingerExport::settingsPath() const {
    std::wstring folder = link_.stationFolder();
    if (!folder.empty() && folder.back() != L'\\' && folder.back() != L'/') folder += L'\\';
    return folder + L"Config\\Records.ini";
}

bool FingerExport::fingerBytes(int slot, const std::wstring& format, std::vector<uint8_t>& bytes,
                               ExportError& error) const {
    error = ExportError{};
    kv90rec::ImageFormat image = kv90rec::ImageFormat::Png;
    if (!parseFingerFormat(format, image, error)) return false;
    const std::wstring path = link_.personSlotFile(slot);
    if (path.empty()) return fail(error, ExportFailure::NoPerson, L"还没有指定采集人员：请先调用 SetPerson。");
    if (!fileExists(path))
        return fail(error, ExportFailure::NotCaptured,
                    L"手指 " + std::to_wstring(slot) + L" 尚未采集（没有文件 " + path + L"）。");
    kv90rec::ImageOptions options;
    if (image == kv90rec::ImageFormat::Wsq) {
        kv90rec::RecordsConfig config;
        if (!loadSettings(settingsPath(), config, error)) return false;
        options.wsqBitRate = config.wsqBitRate;
    }
    std::string reason;
    if (kv90rec::FingerImageAs(path, image, bytes, reason, options)) return true;
    return fail(error, ExportFailure::FingerUnusable,
                L"手指 " + std::to_wstring(slot) + L" 的文件无法使用（" + path + L"）：" + wideOf(reason));
}

bool FingerExport::recordBytes(const std::wstring& format, std::vector<uint8_t>& bytes, ExportError& error) const {
    error = ExportError{};
    kv90rec::RecordFormat record = kv90rec::RecordFormat::An2k;
    kv90rec::ImageFormat image = kv90rec::ImageFormat::Wsq;
    bool imageGiven = false;
    if (!parseRecordFormat(format, record, imageGiven, image, error)) return false;
    if (link_.personSlotFile(0).empty())
        return fail(error, ExportFailure::NoPerson, L"还没有指定采集人员：请先调用 SetPerson。");
    kv90rec::RecordsConfig config;
    if (!loadSettings(settingsPath(), config, error)) return false;
    if (!imageGiven) image = config.recordImage;

    kv90rec::PersonFingers person;
    person.key = kv90rec::WideToUtf8(link_.personKey());
    person.name = kv90rec::WideToUtf8(link_.personName());
    for (int slot = 0; slot < kSlots; ++slot) {
        const std::wstring path = link_.personSlotFile(slot);
        if (!fileExists(path)) continue;
        std::string reason;
        if (!kv90rec::AddSlotFile(person, slot, path, reason))
            return fail(error, ExportFailure::FingerUnusable,
                        L"手指 " + std::to_wstring(slot) + L" 的文件无法使用：" + wideOf(reason));
    }
    if (person.fingers.empty())
        return fail(error, ExportFailure::NotCaptured, L"该人员还没有采集任何手指。");
    std::string reason;
    if (kv90rec::PersonRecord(record, image, person, config, bytes, reason)) return true;
    return fail(error, ExportFailure::FingerUnusable, L"无法生成记录：" + wideOf(reason));
}

bool saveExport(const std::wstring& path, const std::vector<uint8_t>& bytes, ExportError& error) {
    DWORD systemError = ERROR_SUCCESS;
    if (writeWholeFile(path, bytes, systemError)) return true;
    return fail(error, ExportFailure::NotWritable,
                L"无法写入文件“" + path + L"”，系统错误 " + std::to_wstring(systemError) + L"。");
}

}  // namespace kv90com
