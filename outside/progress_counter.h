// Byte counting across one archive operation, forwarded to the caller's progress
// function at each entry and about every mebibyte inside long entries.
#pragma once

#include "outside/archive.h"

namespace pellion::archive {

class ProgressCounter {
public:
    ProgressCounter(const ProgressFunction& report, uint64_t total) : report_(report), total_(total) {}

    // Each returns false when the caller asked to stop.
    bool startEntry(std::u16string_view name)
    {
        name_ = name;
        return !report_ || report_(name_, done_, total_);
    }
    bool advance(uint64_t bytes)
    {
        done_ += bytes;
        sinceReport_ += bytes;
        if (sinceReport_ < reportEvery)
            return true;
        sinceReport_ = 0;
        return !report_ || report_(name_, done_, total_);
    }
    bool finish() { return !report_ || report_(name_, total_, total_); }

private:
    static constexpr uint64_t reportEvery = 1024 * 1024;
    const ProgressFunction& report_;
    uint64_t total_;
    uint64_t done_ = 0;
    uint64_t sinceReport_ = 0;
    std::u16string name_;
};

}  // namespace pellion::archive
