// Turns exceptions escaping archive work into outcomes: exhausted memory becomes
// `outOfMemory` (which callers may retry), anything else `internalFailure`.
#pragma once

#include "outside/archive.h"

#include <exception>
#include <new>

namespace pellion::archive {

template <typename Work>
Outcome guarded(Work&& work) noexcept
{
    try {
        return work();
    } catch (const std::bad_alloc&) {
        return Outcome::failure(ErrorCode::outOfMemory, "out of memory");
    } catch (const std::exception& error) {
        try {
            return Outcome::failure(ErrorCode::internalFailure, error.what());
        } catch (...) {
            return Outcome{ErrorCode::internalFailure, {}};
        }
    } catch (...) {
        return Outcome{ErrorCode::internalFailure, {}};
    }
}

}  // namespace pellion::archive
