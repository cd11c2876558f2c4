// Traditional zip encryption (the PKWARE stream cipher every zip tool reads), for
// archives that scripts protect with a password. It keeps casual readers out and
// no more; where that matters the files need real encryption before they go in.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace pellion::archive {

class ZipCipher {
public:
    explicit ZipCipher(std::string_view password);

    void encrypt(uint8_t* bytes, size_t count);
    void decrypt(uint8_t* bytes, size_t count);

    // Every encrypted entry starts with this many cipher bytes; the last plain byte
    // checks the password against the high byte of the CRC (or of the DOS time when
    // the entry's sizes follow its data).
    static constexpr size_t headerSize = 12;

private:
    uint8_t keyByte() const;
    void update(uint8_t plain);

    uint32_t keys_[3];
};

}  // namespace pellion::archive
