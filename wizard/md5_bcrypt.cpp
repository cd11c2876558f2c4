// MD5 through Windows CNG (bcrypt): the Windows builds.

#include <windows.h>
#include <bcrypt.h>

#include <stdexcept>

#include "md5.h"

namespace pellion {

namespace {

bool succeeded(NTSTATUS status)
{
    return status >= 0;
}

}  // namespace

struct Md5::State {
    BCRYPT_ALG_HANDLE algorithm = nullptr;
    BCRYPT_HASH_HANDLE hash = nullptr;
    ~State()
    {
        if (hash)
            BCryptDestroyHash(hash);
        if (algorithm)
            BCryptCloseAlgorithmProvider(algorithm, 0);
    }
};

Md5::Md5() : state_(std::make_unique<State>())
{
    // Since Windows 7 CNG keeps the hash object itself when given none.
    if (!succeeded(BCryptOpenAlgorithmProvider(&state_->algorithm, BCRYPT_MD5_ALGORITHM, nullptr, 0))
        || !succeeded(BCryptCreateHash(state_->algorithm, &state_->hash, nullptr, 0, nullptr, 0, 0)))
        throw std::runtime_error("MD5 is not available");
}

Md5::~Md5() = default;

void Md5::add(std::string_view bytes)
{
    // CNG takes at most 4 GiB per call.
    while (!bytes.empty()) {
        const ULONG piece = bytes.size() > 0x40000000u ? 0x40000000u : static_cast<ULONG>(bytes.size());
        auto* data = reinterpret_cast<PUCHAR>(const_cast<char*>(bytes.data()));
        if (!succeeded(BCryptHashData(state_->hash, data, piece, 0)))
            throw std::runtime_error("MD5 update failed");
        bytes.remove_prefix(piece);
    }
}

std::array<uint8_t, 16> Md5::finish()
{
    std::array<uint8_t, 16> digest{};
    if (!succeeded(BCryptFinishHash(state_->hash, digest.data(), static_cast<ULONG>(digest.size()), 0)))
        throw std::runtime_error("MD5 final failed");
    return digest;
}

}  // namespace pellion
