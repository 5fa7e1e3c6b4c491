#include "skin/archive/PkwareCipher.h"

#include <zlib.h>

namespace {

// One step of the CRC-32 that the cipher's key schedule is built on.
std::uint32_t Crc32Step(std::uint32_t crc, std::uint8_t byte) {
    static const z_crc_t* const table = get_crc_table();
    return table[(crc ^ byte) & 0xFFu] ^ (crc >> 8);
}

}  // namespace

PkwareCipher::PkwareCipher(const std::string& password) : keys_{0x12345678u, 0x23456789u, 0x34567890u} {
    for (char c : password) UpdateKeys(static_cast<std::uint8_t>(c));
}

std::uint8_t PkwareCipher::KeyStreamByte() const {
    const std::uint32_t temp = (keys_[2] | 2u) & 0xFFFFu;
    return static_cast<std::uint8_t>((temp * (temp ^ 1u)) >> 8);
}

void PkwareCipher::UpdateKeys(std::uint8_t plain) {
    keys_[0] = Crc32Step(keys_[0], plain);
    keys_[1] = (keys_[1] + (keys_[0] & 0xFFu)) * 134775813u + 1u;
    keys_[2] = Crc32Step(keys_[2], static_cast<std::uint8_t>(keys_[1] >> 24));
}

void PkwareCipher::Decrypt(std::uint8_t* data, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) {
        data[i] = static_cast<std::uint8_t>(data[i] ^ KeyStreamByte());
        UpdateKeys(data[i]);
    }
}

void PkwareCipher::Encrypt(std::uint8_t* data, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) {
        const std::uint8_t plain = data[i];
        data[i] = static_cast<std::uint8_t>(plain ^ KeyStreamByte());
        UpdateKeys(plain);
    }
}
