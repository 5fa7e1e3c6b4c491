#include "TestBitmap.h"

#include <windows.h>

#include <fstream>

std::string WriteGreyBitmap(const std::string& name, int side, const std::function<int(int x, int y)>& level) {
    char folder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    const std::string path = std::string(folder) + name;
    const int stride = (side + 3) / 4 * 4;
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info + 256 * 4;
    file.bfSize = file.bfOffBits + stride * side;
    info.biSize = sizeof info;
    info.biWidth = side;
    info.biHeight = side;
    info.biPlanes = 1;
    info.biBitCount = 8;
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&info), sizeof info);
    for (int i = 0; i < 256; ++i) {
        const char entry[4] = {static_cast<char>(i), static_cast<char>(i), static_cast<char>(i), 0};
        out.write(entry, 4);
    }
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < stride; ++x) out.put(static_cast<char>(x < side ? level(x, y) : 0));
    return path;
}
