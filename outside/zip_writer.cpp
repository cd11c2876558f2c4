// Entry writing: local header, data (deflate and encryption streamed through fixed
// buffers), header fields patched once the data is known, central directory.

#include "outside/zip_writer.h"

#include "outside/zip_crypto.h"

#include "common/text.h"

#include <zlib.h>

#include <algorithm>
#include <random>

namespace pellion::archive {

namespace {

constexpr size_t chunkSize = 64 * 1024;
constexpr uint16_t versionMadeByDos63 = 63;  // DOS attributes, format version 6.3 (UTF-8 names)
constexpr uint16_t versionNeededStored = 10;
constexpr uint16_t versionNeededDeflated = 20;

// Owns a zlib deflate stream so every return path ends it.
class Deflater {
public:
    Deflater() = default;
    Deflater(const Deflater&) = delete;
    Deflater& operator=(const Deflater&) = delete;
    ~Deflater()
    {
        if (started_)
            deflateEnd(&stream_);
    }

    int start(int level)
    {
        const int status = deflateInit2(&stream_, level, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
        started_ = status == Z_OK;
        return status;
    }

    z_stream& stream() { return stream_; }

private:
    z_stream stream_{};
    bool started_ = false;
};

ZipEntry headerFor(const NewEntry& entry)
{
    ZipEntry header;
    header.storedName = entry.storedName;
    header.name = toUtf16(entry.storedName);
    header.versionMadeBy = versionMadeByDos63;
    header.versionNeeded = versionNeededStored;
    header.flags = zip::flagUtf8;
    header.method = zip::methodStored;
    toDosTime(entry.modified, header.dosTime, header.dosDate);
    header.extra = extendedTimestampField(entry.modified);
    header.externalAttributes = entry.folder ? zip::dosAttributeFolder : zip::dosAttributeArchive;
    return header;
}

Outcome tooLarge(const ZipEntry& entry)
{
    return Outcome::failure(ErrorCode::tooLarge, entry.utf8Name() + " makes the archive larger than 4 GiB");
}

}  // namespace

Outcome ZipWriter::write(const void* data, size_t count)
{
    if (!output_.write(data, count))
        return Outcome::failure(ErrorCode::cannotWrite, "cannot write the archive");
    return Outcome::success();
}

Outcome ZipWriter::startEntry(ZipEntry& entry)
{
    if (written_.size() >= zip::maximumEntries)
        return Outcome::failure(ErrorCode::tooLarge, "more entries than a zip archive holds");
    entry.localOffset = output_.position();
    if (entry.localOffset > zip::maximumOffset)
        return tooLarge(entry);
    const auto header = localHeader(entry);
    return write(header.data(), header.size());
}

Outcome ZipWriter::addFolder(const NewEntry& entry)
{
    auto header = headerFor(entry);
    if (auto outcome = startEntry(header); !outcome.ok())
        return outcome;
    written_.push_back(std::move(header));
    return Outcome::success();
}

Outcome ZipWriter::addFile(const NewEntry& entry, InputFile& source, Compression compression, int level,
                           const std::string& password, ProgressCounter& progress)
{
    auto header = headerFor(entry);
    const uint64_t sourceSize = source.size();
    const bool deflating = compression == Compression::deflate && sourceSize > 0;
    if (deflating) {
        header.method = zip::methodDeflated;
        header.versionNeeded = versionNeededDeflated;
    }
    std::optional<ZipCipher> cipher;
    if (!password.empty()) {
        // Sizes and CRC follow the data, so the password check byte is the DOS time's.
        header.flags |= zip::flagEncrypted | zip::flagDataDescriptor;
        header.versionNeeded = versionNeededDeflated;
        cipher.emplace(password);
    }
    if (auto outcome = startEntry(header); !outcome.ok())
        return outcome;

    uint64_t packed = 0;
    auto emit = [&](uint8_t* data, size_t count) {
        if (cipher)
            cipher->encrypt(data, count);
        packed += count;
        return write(data, count);
    };
    if (cipher) {
        uint8_t check[ZipCipher::headerSize];
        std::random_device random;
        for (auto& byte : check)
            byte = static_cast<uint8_t>(random());
        check[ZipCipher::headerSize - 1] = static_cast<uint8_t>(header.dosTime >> 8);
        if (auto outcome = emit(check, sizeof check); !outcome.ok())
            return outcome;
    }

    Deflater deflater;
    if (deflating) {
        if (const int status = deflater.start(std::clamp(level, 1, 9)); status != Z_OK)
            return Outcome::failure(status == Z_MEM_ERROR ? ErrorCode::outOfMemory : ErrorCode::internalFailure,
                                    "cannot start deflating");
    }
    std::vector<uint8_t> input(chunkSize);
    std::vector<uint8_t> output(chunkSize);
    uLong crc = crc32(0, nullptr, 0);
    uint64_t offset = 0;
    while (offset < sourceSize || deflating) {
        const size_t count = static_cast<size_t>(std::min<uint64_t>(sourceSize - offset, chunkSize));
        if (count > 0 && !source.readAt(offset, input.data(), count))
            return Outcome::failure(ErrorCode::cannotReadSource, "cannot read the file for " + entry.storedName);
        offset += count;
        crc = crc32(crc, input.data(), static_cast<uInt>(count));
        if (!deflating) {
            if (auto outcome = emit(input.data(), count); !outcome.ok())
                return outcome;
        } else {
            z_stream& stream = deflater.stream();
            stream.next_in = input.data();
            stream.avail_in = static_cast<uInt>(count);
            const int flush = offset == sourceSize ? Z_FINISH : Z_NO_FLUSH;
            int status = Z_OK;
            do {
                stream.next_out = output.data();
                stream.avail_out = static_cast<uInt>(output.size());
                status = deflate(&stream, flush);
                if (status == Z_MEM_ERROR)
                    return Outcome::failure(ErrorCode::outOfMemory, "out of memory while deflating");
                if (status == Z_STREAM_ERROR)
                    return Outcome::failure(ErrorCode::internalFailure, "deflate failed");
                if (auto outcome = emit(output.data(), output.size() - stream.avail_out); !outcome.ok())
                    return outcome;
            } while (stream.avail_out == 0 || (flush == Z_FINISH && status != Z_STREAM_END));
            if (status == Z_STREAM_END)
                break;
        }
        if (!progress.advance(count))
            return Outcome::failure(ErrorCode::cancelled, "cancelled");
    }

    header.crc = static_cast<uint32_t>(crc);
    header.size = sourceSize;
    header.packedSize = packed;
    if (header.size > zip::maximumOffset || header.packedSize > zip::maximumOffset)
        return tooLarge(header);
    if (cipher) {
        const auto descriptor = dataDescriptor(header);
        if (auto outcome = write(descriptor.data(), descriptor.size()); !outcome.ok())
            return outcome;
    } else {
        const auto fields = localHeader(header).substr(localHeaderCrcOffset, 12);
        if (!output_.writeAt(header.localOffset + localHeaderCrcOffset, fields.data(), fields.size()))
            return Outcome::failure(ErrorCode::cannotWrite, "cannot write the archive");
    }
    written_.push_back(std::move(header));
    return Outcome::success();
}

Outcome ZipWriter::copyEntry(InputFile& archive, const ZipDirectory& directory, const ZipEntry& entry,
                             ProgressCounter& progress)
{
    uint64_t offset = 0;
    if (auto outcome = findEntryData(archive, directory, entry, offset); !outcome.ok())
        return outcome;
    ZipEntry copy = entry;
    if (auto outcome = startEntry(copy); !outcome.ok())
        return outcome;
    std::vector<uint8_t> buffer(chunkSize);
    for (uint64_t remaining = entry.packedSize; remaining > 0;) {
        const size_t count = static_cast<size_t>(std::min<uint64_t>(remaining, chunkSize));
        if (!archive.readAt(offset, buffer.data(), count))
            return Outcome::failure(ErrorCode::corrupt, entry.utf8Name() + ": data truncated");
        if (auto outcome = write(buffer.data(), count); !outcome.ok())
            return outcome;
        offset += count;
        remaining -= count;
        if (!progress.advance(count))
            return Outcome::failure(ErrorCode::cancelled, "cancelled");
    }
    if ((copy.flags & zip::flagDataDescriptor) != 0) {
        const auto descriptor = dataDescriptor(copy);
        if (auto outcome = write(descriptor.data(), descriptor.size()); !outcome.ok())
            return outcome;
    }
    if (output_.position() > zip::maximumOffset)
        return tooLarge(copy);
    written_.push_back(std::move(copy));
    return Outcome::success();
}

Outcome ZipWriter::finish()
{
    const uint64_t directoryOffset = output_.position();
    std::string directory;
    for (const auto& entry : written_)
        directory += centralHeader(entry);
    if (directoryOffset + directory.size() > zip::maximumOffset)
        return Outcome::failure(ErrorCode::tooLarge, "the archive would be larger than 4 GiB");
    directory += endOfDirectory(written_.size(), directory.size(), directoryOffset);
    if (auto outcome = write(directory.data(), directory.size()); !outcome.ok())
        return outcome;
    if (!output_.close())
        return Outcome::failure(ErrorCode::cannotWrite, "cannot write the archive");
    return Outcome::success();
}

}  // namespace pellion::archive
