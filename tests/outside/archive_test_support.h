// Shared by the archive core tests: a fresh temporary folder per test with file
// helpers and sample data.
#pragma once

#include "outside/archive.h"
#include "outside/native_file_access.h"

#include "raw_zip.h"

#include "common/text.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace pellion::archive::testing {

class ArchiveFolder : public ::testing::Test {
protected:
    void SetUp() override
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = "oxa_" + std::string(info->test_suite_name()) + "_" + info->name() + "_" +
                           std::to_string(::getpid());
        for (auto& c : name)
            c = c == '/' ? '_' : c;
        root = std::filesystem::temp_directory_path() / name;
        std::filesystem::remove_all(root);
        std::filesystem::create_directories(root);
    }
    void TearDown() override { std::filesystem::remove_all(root); }

    std::u16string path(const std::string& relative) const { return toUtf16((root / relative).string()); }

    void write(const std::string& relative, const std::string& content) const
    {
        const auto where = root / relative;
        std::filesystem::create_directories(where.parent_path());
        std::ofstream(where, std::ios::binary) << content;
    }

    std::string read(const std::string& relative) const
    {
        std::ifstream in(root / relative, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    bool exists(const std::string& relative) const { return std::filesystem::exists(root / relative); }

    // Every file below `relative`, as paths relative to it with "/".
    std::vector<std::string> filesBelow(const std::string& relative) const
    {
        std::vector<std::string> found;
        const auto base = root / relative;
        if (!std::filesystem::exists(base))
            return found;
        for (const auto& item : std::filesystem::recursive_directory_iterator(base))
            found.push_back(std::filesystem::relative(item.path(), base).generic_string());
        std::sort(found.begin(), found.end());
        return found;
    }

    std::filesystem::path root;
    NativeFileAccess files;
};

// Text that deflates somewhat but not trivially, so deflated entries span several
// buffers and differ from their stored form.
inline std::string sampleText(size_t size, uint32_t seed)
{
    std::string text;
    text.reserve(size);
    uint32_t state = seed;
    while (text.size() < size) {
        state = state * 1103515245u + 12345u;
        text += static_cast<char>('a' + (state >> 16) % 20);
        if ((state >> 8) % 17 == 0)
            text += "\r\n";
    }
    text.resize(size);
    return text;
}

}  // namespace pellion::archive::testing
