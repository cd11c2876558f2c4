// The hashed string list of the script package: an indexable list of lines with
// an index that finds the first line holding a given text, letter case ignored.
// The lists are filled once when the package loads and never change afterwards.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace pellion {

class THashedStringList {
public:
    THashedStringList() = default;
    explicit THashedStringList(std::vector<std::u16string> lines);

    size_t size() const { return lines_.size(); }
    bool empty() const { return lines_.empty(); }
    const std::vector<std::u16string>& lines() const { return lines_; }

    // Line i, or the empty text when i lies outside the list.
    const std::u16string& line(size_t i) const;

    // The first index whose line equals text, letter case ignored.
    std::optional<size_t> indexOf(std::u16string_view text) const;

private:
    std::vector<std::u16string> lines_;
    std::unordered_map<std::u16string, size_t> firstIndex_;  // keyed by the upper-case text
};

}  // namespace pellion
