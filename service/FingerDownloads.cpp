// Slot files read, encoded and named for a download.
#include "service/FingerDownloads.h"

#include "service/ContentDisposition.h"
#include "service/FingerImage.h"
#include "service/TextUtf8.h"

#include "records/DownloadNames.h"
#include "records/ImageEncoding.h"
#include "records/PersonFolder.h"
#include "records/RecordsConfig.h"

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <vector>

namespace {

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool FileExists(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The office's settings; a value the records cannot carry is the service's
// fault, not the page's, and the reason names the key to mend.
bool LoadSettings(const std::wstring& path, kv90rec::RecordsConfig& config, HttpAnswer& refusal) {
    std::string error;
    if (kv90rec::LoadRecordsConfig(path, config, error)) return true;
    refusal = ErrorAnswer(500, error);
    return false;
}

HttpAnswer Download(const char* mediaType, Disposition disposition, const std::string& fileName, std::string body) {
    HttpAnswer answer;
    answer.ContentType = mediaType;
    answer.Body = std::move(body);
    answer.Headers.push_back({"Cache-Control", "no-store"});
    answer.Headers.push_back({"Content-Disposition", ContentDisposition(disposition, fileName)});
    // A page on another origin may read the name only when told it may.
    answer.Headers.push_back({"Access-Control-Expose-Headers", "Content-Disposition"});
    return answer;
}

std::string Text(const std::vector<uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); }

}  // namespace

bool ParseFingerForm(const std::string& name, FingerForm& form) {
    form = FingerForm();
    if (Lower(name) == "jpeg") {
        form.Jpeg = true;
        return true;
    }
    return kv90rec::ParseImageFormat(name, form.Image);
}

HttpAnswer FingerAnswer(const FingerDownload& download) {
    std::string fileName = kv90rec::FingerFileName(download.Key, download.Slot, download.Form.Image);
    if (download.Form.Jpeg) {
        std::string jpeg, error;
        if (!BitmapFileToJpeg(download.File, download.JpegQuality, jpeg, error)) {
            if (!FileExists(download.File)) return ErrorAnswer(404, "slot is empty");
            return ErrorAnswer(500, AnsiToUtf8(error));
        }
        fileName.replace(fileName.rfind('.') + 1, std::string::npos, "jpg");
        return Download("image/jpeg", Disposition::Inline, fileName, std::move(jpeg));
    }
    if (download.Form.Image == kv90rec::ImageFormat::Bmp) {
        // The file as the station wrote it, byte for byte.
        std::string bitmap;
        if (!ReadWholeFile(download.File, bitmap)) return ErrorAnswer(404, "slot is empty");
        return Download("image/bmp", Disposition::Inline, fileName, std::move(bitmap));
    }
    kv90rec::ImageOptions options;
    if (download.Form.Image == kv90rec::ImageFormat::Wsq) {
        kv90rec::RecordsConfig config;
        HttpAnswer refusal;
        if (!LoadSettings(download.RecordsIni, config, refusal)) return refusal;
        options.wsqBitRate = config.wsqBitRate;
    }
    std::vector<uint8_t> bytes;
    std::string error;
    if (!kv90rec::FingerImageAs(download.File, download.Form.Image, bytes, error, options)) {
        if (!FileExists(download.File)) return ErrorAnswer(404, "slot is empty");
        return ErrorAnswer(500, error);
    }
    return Download(kv90rec::ImageMediaType(download.Form.Image), Disposition::Inline, fileName, Text(bytes));
}

HttpAnswer RecordAnswer(const RecordDownload& download) {
    kv90rec::RecordsConfig config;
    HttpAnswer refusal;
    if (!LoadSettings(download.RecordsIni, config, refusal)) return refusal;
    kv90rec::PersonFingers person;
    person.key = download.Key;
    person.name = download.Name;
    for (const auto& slot : download.Files) {
        if (!FileExists(slot.second)) continue;  // removed since: the record holds what is there
        std::string error;
        if (!kv90rec::AddSlotFile(person, slot.first, AnsiToWide(slot.second), error)) return ErrorAnswer(500, error);
    }
    if (person.fingers.empty()) return ErrorAnswer(404, "no finger was captured");
    std::vector<uint8_t> bytes;
    std::string error;
    const kv90rec::ImageFormat image = download.ImageGiven ? download.Image : config.recordImage;
    if (!kv90rec::PersonRecord(download.Format, image, person, config, bytes, error)) return ErrorAnswer(500, error);
    // Records are files for another system: never shown, always saved.
    return Download("application/octet-stream", Disposition::Attachment,
                    kv90rec::RecordFileName(download.Key, download.Format), Text(bytes));
}
