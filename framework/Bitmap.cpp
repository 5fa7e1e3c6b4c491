#include "framework/Exception.h"
#include "framework/Graphics.h"
#include "framework/SysUtils.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <vector>

namespace {

// Headers and a full palette come on top of the largest pixel data allowed.
constexpr std::int64_t kMaxFileBytes = bmpfile::kPictureLimits.maxPixels * 4 + 64 * 1024;

[[noreturn]] void Refuse(const std::string& path, bmpfile::Fault fault) {
    const char* what = fault == bmpfile::Fault::NotBitmap ? "File \"" : "Bitmap file \"";
    throw EFileError(what + path + "\" " + bmpfile::FaultText(fault));
}

// Reads the whole file into `bytes`, which keeps its memory from one load to the next.
void ReadBitmapFile(const std::string& path, std::vector<std::uint8_t>& bytes) {
    UniqueHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) throw EFileError("Cannot open bitmap file \"" + path + "\". " + SysErrorMessage(GetLastError()));
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.Get(), &size))
        throw EFileError("Cannot read bitmap file \"" + path + "\". " + SysErrorMessage(GetLastError()));
    if (size.QuadPart > kMaxFileBytes) Refuse(path, bmpfile::Fault::TooLarge);
    bytes.resize(static_cast<std::size_t>(size.QuadPart));
    DWORD read = 0;
    if (!bytes.empty() && !ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr))
        throw EFileError("Cannot read bitmap file \"" + path + "\". " + SysErrorMessage(GetLastError()));
    // A file that shrank since its size was asked is as short as what was read.
    bytes.resize(read);
}

// The read buffer of this thread: the preview is loaded many times a second,
// and a buffer kept warm costs neither an allocation nor page faults.
class FileBuffer {
public:
    FileBuffer() : bytes_(Buffer()) {}
    ~FileBuffer() {
        // A rare large file does not keep its memory for the rest of the run.
        if (bytes_.capacity() > kKeptBytes) std::vector<std::uint8_t>().swap(bytes_);
    }
    FileBuffer(const FileBuffer&) = delete;
    FileBuffer& operator=(const FileBuffer&) = delete;
    std::vector<std::uint8_t>& Bytes() { return bytes_; }

private:
    static constexpr std::size_t kKeptBytes = 4u << 20;
    static std::vector<std::uint8_t>& Buffer() {
        thread_local std::vector<std::uint8_t> buffer;
        return buffer;
    }
    std::vector<std::uint8_t>& bytes_;
};

bool SameFormat(const bmpfile::PixelFormat& a, const bmpfile::PixelFormat& b) {
    return a.bitsPerPixel == b.bitsPerPixel && a.bitfields == b.bitfields && a.palette == b.palette &&
           std::equal(std::begin(a.masks), std::end(a.masks), std::begin(b.masks));
}

// A bottom-up DIB section in the given pixel format, with its palette or masks.
BitmapHandle CreateSection(int width, int height, const bmpfile::PixelFormat& format, void** bits) {
    std::vector<std::uint8_t> buffer(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD));
    auto info = reinterpret_cast<BITMAPINFO*>(buffer.data());
    info->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info->bmiHeader.biWidth = width;
    info->bmiHeader.biHeight = height;
    info->bmiHeader.biPlanes = 1;
    info->bmiHeader.biBitCount = static_cast<WORD>(format.bitsPerPixel);
    info->bmiHeader.biCompression = format.bitfields ? BI_BITFIELDS : BI_RGB;
    if (format.Indexed()) {
        info->bmiHeader.biClrUsed = static_cast<DWORD>(format.palette.size());
        std::memcpy(info->bmiColors, format.palette.data(), format.palette.size() * sizeof(RGBQUAD));
    } else if (format.bitfields) {
        std::memcpy(info->bmiColors, format.masks, sizeof format.masks);
    }
    BitmapHandle section(CreateDIBSection(nullptr, info, DIB_RGB_COLORS, bits, nullptr, 0));
    if (!section || !*bits)
        throw Exception("Out of system resources: a " + IntToStr(width) + " x " + IntToStr(height) + " bitmap");
    return section;
}

bool IsLevelPalette(const bmpfile::PixelFormat& format) {
    if (format.bitsPerPixel != 8 || format.palette.size() != 256) return false;
    for (std::uint32_t i = 0; i < 256; ++i) {
        if (format.palette[i] != i * 0x010101u) return false;
    }
    return true;
}

}  // namespace

void TBitmap::LoadFromFile(const std::string& path) {
    FileBuffer buffer;
    std::vector<std::uint8_t>& bytes = buffer.Bytes();
    ReadBitmapFile(path, bytes);
    bmpfile::Header header;
    if (const auto fault = bmpfile::ReadHeader(bytes.data(), bytes.size(), bmpfile::kPictureLimits, header);
        fault != bmpfile::Fault::None)
        Refuse(path, fault);

    // A picture of the same size and format, as each new preview is, goes into
    // the section already made. Only uncompressed pixels, whose reading cannot
    // fail once the header is accepted, so a failure never leaves half a picture.
    const bool uncompressed =
        header.encoding == bmpfile::Encoding::Rgb || header.encoding == bmpfile::Encoding::Bitfields;
    if (handle_ && uncompressed && header.width == width_ && header.height == height_ &&
        SameFormat(header.format, format_)) {
        GdiFlush();
        bmpfile::ReadPixels(bytes.data(), bytes.size(), header, bits_);
        scaled_.Invalidate();
        return;
    }

    void* bits = nullptr;
    BitmapHandle section = CreateSection(header.width, header.height, header.format, &bits);
    if (const auto fault = bmpfile::ReadPixels(bytes.data(), bytes.size(), header, static_cast<std::uint8_t*>(bits));
        fault != bmpfile::Fault::None)
        Refuse(path, fault);

    handle_ = std::move(section);
    bits_ = static_cast<std::uint8_t*>(bits);
    width_ = header.width;
    height_ = header.height;
    format_ = std::move(header.format);
    scaled_.Invalidate();
}

void TBitmap::SetSize(int width, int height) {
    handle_.Reset();
    bits_ = nullptr;
    width_ = height_ = 0;
    format_ = bmpfile::PixelFormat{};
    scaled_.Invalidate();
    if (width <= 0 || height <= 0) return;
    void* bits = nullptr;
    handle_ = CreateSection(width, height, format_, &bits);
    bits_ = static_cast<std::uint8_t*>(bits);
    width_ = width;
    height_ = height;
}

void TBitmap::SaveToFile(const std::string& path) const { WriteFileBytes(path, FileBytes()); }

std::string TBitmap::FileBytes() const {
    if (!handle_) throw EFileError("Cannot save an empty bitmap");
    DIBSECTION dib{};
    if (GetObjectA(handle_.Get(), sizeof dib, &dib) != sizeof dib) throw EFileError("Bitmap is not device independent");
    BITMAPINFOHEADER header = dib.dsBmih;
    const bool bitfields = header.biCompression == BI_BITFIELDS;
    header.biCompression = bitfields ? BI_BITFIELDS : BI_RGB;
    const DWORD stride = ((header.biWidth * header.biBitCount + 31) / 32) * 4;
    const DWORD height = static_cast<DWORD>(header.biHeight < 0 ? -header.biHeight : header.biHeight);
    header.biSizeImage = stride * height;

    std::vector<RGBQUAD> palette;
    if (header.biBitCount <= 8) {
        palette.resize(header.biClrUsed ? header.biClrUsed : (1u << header.biBitCount));
        MemoryDC dc(nullptr);
        SelectObjectScope select(dc.Get(), handle_.Get());
        const UINT got = GetDIBColorTable(dc.Get(), 0, static_cast<UINT>(palette.size()), palette.data());
        palette.resize(got);
        header.biClrUsed = got;
    }
    const DWORD masksSize = bitfields ? sizeof dib.dsBitfields : 0;

    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof file + sizeof header + masksSize + static_cast<DWORD>(palette.size() * sizeof(RGBQUAD));
    file.bfSize = file.bfOffBits + header.biSizeImage;

    std::string bytes;
    bytes.reserve(file.bfSize);
    bytes.append(reinterpret_cast<const char*>(&file), sizeof file);
    bytes.append(reinterpret_cast<const char*>(&header), sizeof header);
    bytes.append(reinterpret_cast<const char*>(dib.dsBitfields), masksSize);
    bytes.append(reinterpret_cast<const char*>(palette.data()), palette.size() * sizeof(RGBQUAD));
    bytes.append(static_cast<const char*>(dib.dsBm.bmBits), header.biSizeImage);
    return bytes;
}

void TBitmap::Draw(HDC dc, const RECT& target) const {
    if (!handle_) return;
    const int targetWidth = target.right - target.left;
    const int targetHeight = target.bottom - target.top;
    if (targetWidth == width_ && targetHeight == height_) {
        DrawBitmapAt(dc, target.left, target.top, handle_.Get(), width_, height_);
        return;
    }
    // Whatever GDI drew into the section must be in its memory before it is read.
    GdiFlush();
    const std::size_t stride = format_.Stride(width_);
    const bool grey = format_.Grey();
    // The usual grey finger image maps every byte to its own level: its rows are read in place.
    const bool levels = grey && IsLevelPalette(format_);
    scaled_.Draw(dc, target, width_, height_, grey ? 1 : 3, [=](int y, std::uint8_t* scratch) {
        const std::uint8_t* row = bits_ + stride * static_cast<std::size_t>(height_ - 1 - y);
        if (levels) return row;
        if (grey)
            bmpfile::ExpandRowGrey(format_, row, width_, scratch);
        else
            bmpfile::ExpandRowBgr(format_, row, width_, scratch);
        return static_cast<const std::uint8_t*>(scratch);
    });
}
