// The key schedule of traditional zip encryption over zlib's CRC-32 table.

#include "outside/zip_crypto.h"

#include <zlib.h>

namespace pellion::archive {

namespace {

uint32_t crcStep(uint32_t crc, uint8_t byte)
{
    static const z_crc_t* const table = get_crc_table();
    return static_cast<uint32_t>(table[(crc ^ byte) & 0xFF]) ^ (crc >> 8);
}

}  // namespace

ZipCipher::ZipCipher(std::string_view password) : keys_{0x12345678u, 0x23456789u, 0x34567890u}
{
    for (const char c : password)
        update(static_cast<uint8_t>(c));
}

uint8_t ZipCipher::keyByte() const
{
    const uint32_t temp = (keys_[2] | 2) & 0xFFFF;
    return static_cast<uint8_t>((temp * (temp ^ 1)) >> 8);
}

void ZipCipher::update(uint8_t plain)
{
    keys_[0] = crcStep(keys_[0], plain);
    keys_[1] = (keys_[1] + (keys_[0] & 0xFF)) * 134775813u + 1;
    keys_[2] = crcStep(keys_[2], static_cast<uint8_t>(keys_[1] >> 24));
}

void ZipCipher::encrypt(uint8_t* bytes, size_t count)
{
    for (size_t i = 0; i < count; ++i) {
        const uint8_t plain = bytes[i];
        bytes[i] = plain ^ keyByte();
        update(plain);
    }
}

void ZipCipher::decrypt(uint8_t* bytes, size_t count)
{
    for (size_t i = 0; i < count; ++i) {
        bytes[i] ^= keyByte();
        update(bytes[i]);
    }
}

}  // namespace pellion::archive
