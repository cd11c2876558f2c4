// MD5 through OpenSSL's libcrypto (EVP interface): the Linux builds.

#include <openssl/evp.h>

#include <stdexcept>

#include "md5.h"

namespace pellion {

struct Md5::State {
    EVP_MD_CTX* context = nullptr;
    ~State() { EVP_MD_CTX_free(context); }
};

Md5::Md5() : state_(std::make_unique<State>())
{
    state_->context = EVP_MD_CTX_new();
    if (!state_->context || EVP_DigestInit_ex(state_->context, EVP_md5(), nullptr) != 1)
        throw std::runtime_error("MD5 is not available");
}

Md5::~Md5() = default;

void Md5::add(std::string_view bytes)
{
    if (!bytes.empty() && EVP_DigestUpdate(state_->context, bytes.data(), bytes.size()) != 1)
        throw std::runtime_error("MD5 update failed");
}

std::array<uint8_t, 16> Md5::finish()
{
    std::array<uint8_t, 16> digest{};
    unsigned int length = 0;
    if (EVP_DigestFinal_ex(state_->context, digest.data(), &length) != 1 || length != digest.size())
        throw std::runtime_error("MD5 final failed");
    return digest;
}

}  // namespace pellion
