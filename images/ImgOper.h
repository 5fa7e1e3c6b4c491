// Image operations of the view command: a slot bitmap converted into the
// viewer's JPEG file, and the viewer opened on such a file.
#pragma once

#include <string>

class TImgOper {
public:
    TImgOper() = delete;

    // Writes a JPEG copy of the bitmap file at quality 100: three components
    // even for a grey bitmap, baseline, libjpeg's standard settings. The
    // target is written only once encoding is complete, and replaced whole
    // (see StagedFile.h). False, with one log line, on any failure; a target
    // that existed before is then left as it was.
    static bool BmpToJpg(const std::string& source, const std::string& target);

    // Opens the image viewer modally on a JPEG file if the file exists.
    static void ShowImage(const std::string& path);
};
