// Streams one entry's data out of an archive: decryption, inflating and the checks
// that make a damaged or hostile entry fail cleanly (declared size never exceeded,
// CRC-32 compared, fixed-size buffers whatever the entry claims).
#pragma once

#include "outside/archive.h"
#include "outside/zip_format.h"

#include <functional>
#include <optional>
#include <string>

namespace pellion::archive {

// Hands out passwords for encrypted entries: the last one that worked first, then
// whatever the caller's function supplies, a bounded number of times.
class PasswordKeeper {
public:
    explicit PasswordKeeper(PasswordFunction ask) : ask_(std::move(ask)) {}

    std::optional<std::string> known() const { return known_; }
    std::optional<std::string> askAgain();
    void remember(std::string password) { known_ = std::move(password); }

private:
    PasswordFunction ask_;
    std::optional<std::string> known_;
    int asked_ = 0;
};

// Receives the plain data in chunks; false means it could not be stored.
using DataSink = std::function<bool(const uint8_t* data, size_t count)>;
// Told how many plain bytes have come since the last call; false cancels.
using DataProgress = std::function<bool(uint64_t moreBytes)>;

// Whether the entry's method and encryption are ones this code can read.
Outcome checkReadable(const ZipEntry& entry);

Outcome readEntryData(InputFile& archive, const ZipDirectory& directory, const ZipEntry& entry,
                      PasswordKeeper& passwords, const DataSink& sink, const DataProgress& progress);

}  // namespace pellion::archive
