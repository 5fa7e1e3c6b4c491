// The traditional PKWARE stream cipher of ZIP archives (APPNOTE 6.1), used by
// skin archives whose entry is password-protected.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class PkwareCipher {
public:
    // Size of the encryption header in front of an encrypted entry's data.
    static constexpr std::size_t kHeaderSize = 12;

    explicit PkwareCipher(const std::string& password);

    // Deciphers in place, advancing the key state byte by byte.
    void Decrypt(std::uint8_t* data, std::size_t size);
    // Enciphers in place; the inverse of Decrypt from the same key state.
    void Encrypt(std::uint8_t* data, std::size_t size);

private:
    std::uint8_t KeyStreamByte() const;
    void UpdateKeys(std::uint8_t plain);

    std::uint32_t keys_[3];
};
