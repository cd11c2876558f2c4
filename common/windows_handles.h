// Owners of Windows handles that close them on leaving, so no early return
// leaks one: `UniqueHandle` for kernel objects, `UniqueKey` for registry keys
// (predefined roots are never closed). Windows builds only.
#pragma once

#include <windows.h>

#include <cstdint>
#include <utility>

namespace pellion {

class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(HANDLE handle) : handle_(handle) {}
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept
    {
        if (this != &other) {
            close();
            handle_ = std::exchange(other.handle_, nullptr);
        }
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle() { close(); }

    // Some calls report failure with null, others with INVALID_HANDLE_VALUE.
    bool valid() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return handle_; }
    // For calls that hand back a new handle through a pointer.
    HANDLE* receive()
    {
        close();
        return &handle_;
    }

private:
    void close()
    {
        if (valid())
            CloseHandle(handle_);
        handle_ = nullptr;
    }

    HANDLE handle_ = nullptr;
};

// A predefined root (HKEY_LOCAL_MACHINE and its kin) from its numeric code.
inline HKEY predefinedKey(uint32_t root)
{
    return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(root)));
}

class UniqueKey {
public:
    UniqueKey() = default;
    // A key this owner closes; `owned` false for a predefined root.
    explicit UniqueKey(HKEY key, bool owned = true) : key_(key), owned_(owned) {}
    UniqueKey(UniqueKey&& other) noexcept
        : key_(std::exchange(other.key_, nullptr)), owned_(std::exchange(other.owned_, false))
    {
    }
    UniqueKey& operator=(UniqueKey&& other) noexcept
    {
        if (this != &other) {
            close();
            key_ = std::exchange(other.key_, nullptr);
            owned_ = std::exchange(other.owned_, false);
        }
        return *this;
    }
    UniqueKey(const UniqueKey&) = delete;
    UniqueKey& operator=(const UniqueKey&) = delete;
    ~UniqueKey() { close(); }

    HKEY get() const { return key_; }
    // For RegOpenKeyEx and its kin; the key received is owned.
    HKEY* receive()
    {
        close();
        owned_ = true;
        return &key_;
    }

private:
    void close()
    {
        if (owned_ && key_)
            RegCloseKey(key_);
        key_ = nullptr;
        owned_ = false;
    }

    HKEY key_ = nullptr;
    bool owned_ = false;
};

}  // namespace pellion
