// Reading one entry's data: password check, decryption, inflate, size and CRC checks.

#include "outside/entry_data.h"

#include "outside/zip_crypto.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace pellion::archive {

namespace {

constexpr size_t chunkSize = 64 * 1024;
constexpr int maximumPasswordRequests = 16;

Outcome corrupt(const ZipEntry& entry, const char* what)
{
    return Outcome::failure(ErrorCode::corrupt, entry.utf8Name() + ": " + what);
}

// Owns a zlib inflate stream so every return path ends it.
class Inflater {
public:
    Inflater() = default;
    Inflater(const Inflater&) = delete;
    Inflater& operator=(const Inflater&) = delete;
    ~Inflater()
    {
        if (started_)
            inflateEnd(&stream_);
    }

    int start()
    {
        const int status = inflateInit2(&stream_, -MAX_WBITS);
        started_ = status == Z_OK;
        return status;
    }

    z_stream& stream() { return stream_; }

private:
    z_stream stream_{};
    bool started_ = false;
};

std::optional<ZipCipher> cipherFor(const ZipEntry& entry, const std::string& password, const uint8_t* header)
{
    ZipCipher cipher(password);
    uint8_t plain[ZipCipher::headerSize];
    std::memcpy(plain, header, sizeof plain);
    cipher.decrypt(plain, sizeof plain);
    const uint8_t check = plain[ZipCipher::headerSize - 1];
    const bool crcMatches = check == static_cast<uint8_t>(entry.crc >> 24);
    const bool timeMatches = check == static_cast<uint8_t>(entry.dosTime >> 8);
    if (crcMatches || ((entry.flags & zip::flagDataDescriptor) != 0 && timeMatches))
        return cipher;
    return std::nullopt;
}

Outcome unlock(const ZipEntry& entry, PasswordKeeper& passwords, const uint8_t* header, std::optional<ZipCipher>& cipher)
{
    if (const auto known = passwords.known())
        cipher = cipherFor(entry, *known, header);
    while (!cipher) {
        const auto candidate = passwords.askAgain();
        if (!candidate)
            return Outcome::failure(ErrorCode::wrongPassword, entry.utf8Name() + ": no password or a wrong one");
        cipher = cipherFor(entry, *candidate, header);
        if (cipher)
            passwords.remember(*candidate);
    }
    return Outcome::success();
}

}  // namespace


std::optional<std::string> PasswordKeeper::askAgain()
{
    if (!ask_ || asked_ >= maximumPasswordRequests)
        return std::nullopt;
    ++asked_;
    return ask_();
}

Outcome checkReadable(const ZipEntry& entry)
{
    if (entry.method != zip::methodStored && entry.method != zip::methodDeflated)
        return Outcome::failure(ErrorCode::unsupported,
                                entry.utf8Name() + ": compression method " + std::to_string(entry.method));
    if ((entry.flags & zip::flagStrongEncryption) != 0 || (entry.encrypted() && entry.method == 99))
        return Outcome::failure(ErrorCode::unsupported, entry.utf8Name() + ": strong encryption");
    return Outcome::success();
}

Outcome readEntryData(InputFile& archive, const ZipDirectory& directory, const ZipEntry& entry,
                      PasswordKeeper& passwords, const DataSink& sink, const DataProgress& progress)
{
    if (auto outcome = checkReadable(entry); !outcome.ok())
        return outcome;
    uint64_t offset = 0;
    if (auto outcome = findEntryData(archive, directory, entry, offset); !outcome.ok())
        return outcome;
    uint64_t remaining = entry.packedSize;

    std::optional<ZipCipher> cipher;
    if (entry.encrypted()) {
        uint8_t header[ZipCipher::headerSize];
        if (remaining < sizeof header || !archive.readAt(offset, header, sizeof header))
            return corrupt(entry, "encryption header missing");
        if (auto outcome = unlock(entry, passwords, header, cipher); !outcome.ok())
            return outcome;
        offset += sizeof header;
        remaining -= sizeof header;
    }
    if (entry.method == zip::methodStored && remaining != entry.size)
        return corrupt(entry, "stored size differs from its packed size");

    std::vector<uint8_t> input(chunkSize);
    std::vector<uint8_t> output(chunkSize);
    uLong crc = crc32(0, nullptr, 0);
    uint64_t produced = 0;

    auto readInput = [&](size_t& count) {
        count = static_cast<size_t>(std::min<uint64_t>(remaining, chunkSize));
        if (!archive.readAt(offset, input.data(), count))
            return false;
        if (cipher)
            cipher->decrypt(input.data(), count);
        offset += count;
        remaining -= count;
        return true;
    };
    auto deliver = [&](const uint8_t* data, size_t count) -> Outcome {
        if (count > entry.size - produced)
            return corrupt(entry, "more data than its declared size");
        produced += count;
        crc = crc32(crc, data, static_cast<uInt>(count));
        if (!sink(data, count))
            return Outcome::failure(ErrorCode::cannotWrite, entry.utf8Name() + ": cannot write");
        if (progress && !progress(count))
            return Outcome::failure(ErrorCode::cancelled, "cancelled");
        return Outcome::success();
    };

    if (entry.method == zip::methodStored) {
        while (remaining > 0) {
            size_t count = 0;
            if (!readInput(count))
                return corrupt(entry, "data truncated");
            if (auto outcome = deliver(input.data(), count); !outcome.ok())
                return outcome;
        }
    } else {
        Inflater inflater;
        if (const int status = inflater.start(); status != Z_OK)
            return Outcome::failure(status == Z_MEM_ERROR ? ErrorCode::outOfMemory : ErrorCode::internalFailure,
                                    "cannot start inflating");
        z_stream& stream = inflater.stream();
        for (;;) {
            if (stream.avail_in == 0 && remaining > 0) {
                size_t count = 0;
                if (!readInput(count))
                    return corrupt(entry, "data truncated");
                stream.next_in = input.data();
                stream.avail_in = static_cast<uInt>(count);
            }
            stream.next_out = output.data();
            stream.avail_out = static_cast<uInt>(output.size());
            const int status = inflate(&stream, Z_NO_FLUSH);
            if (status == Z_MEM_ERROR)
                return Outcome::failure(ErrorCode::outOfMemory, "out of memory while inflating");
            if (status != Z_OK && status != Z_STREAM_END && status != Z_BUF_ERROR)
                return corrupt(entry, "damaged compressed data");
            const size_t count = output.size() - stream.avail_out;
            if (auto outcome = deliver(output.data(), count); !outcome.ok())
                return outcome;
            if (status == Z_STREAM_END)
                break;
            if (count == 0 && stream.avail_in == 0 && remaining == 0)
                return corrupt(entry, "compressed data truncated");
        }
    }
    if (produced != entry.size)
        return corrupt(entry, "less data than its declared size");
    if (static_cast<uint32_t>(crc) != entry.crc)
        return Outcome::failure(ErrorCode::checksumMismatch, entry.utf8Name() + ": CRC mismatch");
    return Outcome::success();
}

}  // namespace pellion::archive
