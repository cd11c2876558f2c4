// MD5 digests (RFC 1321) through the platform's own library: Windows CNG
// (bcrypt) in the Windows builds, OpenSSL's libcrypto on Linux. Language packs
// carry MD5 fingerprints of their data files and of lookup texts.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace pellion {

class FileSystem;

class Md5 {
public:
    Md5();  // throws std::runtime_error when the platform offers no MD5
    ~Md5();
    Md5(const Md5&) = delete;
    Md5& operator=(const Md5&) = delete;

    void add(std::string_view bytes);
    // The digest of everything added; the object is spent afterwards.
    std::array<uint8_t, 16> finish();

private:
    struct State;
    std::unique_ptr<State> state_;
};

// Upper-case hexadecimal digits, two per byte.
std::u16string upperHex(std::span<const uint8_t> bytes);

// The 32 upper-case hexadecimal digits of the bytes' MD5.
std::u16string md5Hex(std::string_view bytes);

// The fingerprint of a file's content, read piece by piece; nothing when the
// file cannot be opened or read in full.
std::optional<std::u16string> fileFingerprint(FileSystem& files, std::u16string_view path);

}  // namespace pellion
