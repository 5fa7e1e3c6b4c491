// The Content-Disposition header that offers an answer under a file name.
// Keys are the host's texts and may hold any character, so the name goes out
// twice: plain ASCII for old clients, and UTF-8 for every current browser.
#pragma once

#include <string>

enum class Disposition {
    Inline,      // a picture a page may show; saved, it gets the name
    Attachment,  // a file to save, never shown
};

// `inline; filename="A001_0_left_thumb.png"; filename*=UTF-8''A001_0_left_thumb.png`.
// fileNameUtf8 must already be a safe file name (records/DownloadNames): no
// quotes, backslashes or control characters.
std::string ContentDisposition(Disposition disposition, const std::string& fileNameUtf8);
