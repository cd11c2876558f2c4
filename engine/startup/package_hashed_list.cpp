// Building and searching the case-insensitive index of a package list.

#include "package_hashed_list.h"

#include "common/letter_case.h"

namespace pellion {

THashedStringList::THashedStringList(std::vector<std::u16string> lines) : lines_(std::move(lines))
{
    firstIndex_.reserve(lines_.size());
    for (size_t i = 0; i < lines_.size(); ++i)
        firstIndex_.try_emplace(upperCase(lines_[i]), i);  // an earlier line keeps its place
}

const std::u16string& THashedStringList::line(size_t i) const
{
    static const std::u16string none;
    return i < lines_.size() ? lines_[i] : none;
}

std::optional<size_t> THashedStringList::indexOf(std::u16string_view text) const
{
    const auto found = firstIndex_.find(upperCase(text));
    if (found == firstIndex_.end())
        return std::nullopt;
    return found->second;
}

}  // namespace pellion
