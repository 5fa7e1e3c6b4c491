// The captured fingers as a page downloads them: one slot file in the form it
// asks for, or the person's fingers as one record, each offered under a file
// name made from the person's key. These read files and compress images for
// up to a few hundred milliseconds, so they run on a worker, never on the
// server's thread.
#pragma once

#include "service/HttpExchange.h"

#include "records/ImageFormat.h"
#include "records/PersonRecord.h"

#include <map>
#include <string>

// How a finger is asked for: the station's own bitmap or JPEG, or one of the
// forms identification systems take.
struct FingerForm {
    bool Jpeg = false;  // the station's JPEG encoder, for showing only
    kv90rec::ImageFormat Image = kv90rec::ImageFormat::Bmp;
};
// "bmp", "jpeg" (as they always were), "png", "wsq", "jp2" (any case); false for any other.
bool ParseFingerForm(const std::string& name, FingerForm& form);

struct FingerDownload {
    std::string File;  // the person slot file, code page path
    std::string Key;   // the person's key, UTF-8
    int Slot = 0;
    FingerForm Form;
    int JpegQuality = 90;
    std::wstring RecordsIni;  // the office's settings: the WSQ bit rate
};
HttpAnswer FingerAnswer(const FingerDownload& download);

struct RecordDownload {
    std::string Key;   // UTF-8
    std::string Name;  // UTF-8
    std::map<int, std::string> Files;  // slot to person slot file, code page path
    kv90rec::RecordFormat Format = kv90rec::RecordFormat::An2k;
    bool ImageGiven = false;  // else the settings' RecordImage
    kv90rec::ImageFormat Image = kv90rec::ImageFormat::Wsq;
    std::wstring RecordsIni;
};
// 404 when none of the files is there any more.
HttpAnswer RecordAnswer(const RecordDownload& download);
