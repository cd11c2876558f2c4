// TVariableManager: the store of named text variables that every part of the
// engine shares, and text expansion of "$NAME$" references against it. Names
// match without letter case; one lock serializes every operation, reads
// included, because worker threads use the store beside the statement loop.
// Assignment rules (self references, command-line protection) are
// EngineVariables'; this file only stores and expands.
#pragma once

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pellion {

class TVariableManager {
public:
    TVariableManager() = default;
    TVariableManager(const TVariableManager&) = delete;
    TVariableManager& operator=(const TVariableManager&) = delete;

    // Insert, or replace the value of an existing name (whose first spelling
    // stays). An empty name is never stored.
    void Add(std::u16string_view name, std::u16string_view value);
    void SetItem(std::u16string_view name, std::u16string_view value) { Add(name, value); }
    bool Exists(std::u16string_view name) const;
    // The value, empty when the variable is missing.
    std::u16string GetItem(std::u16string_view name) const;
    // The value, or nothing when the variable is missing: one locked lookup.
    std::optional<std::u16string> Find(std::u16string_view name) const;
    void Remove(std::u16string_view name);
    // Removes every variable; the table starts again without buckets.
    void Clear();
    size_t Count() const;

    // name, value, name, value, ... in hash order (bucket by bucket); the
    // number of variables listed.
    size_t ListPairs(std::vector<std::u16string>& list) const;
    size_t ListNames(std::vector<std::u16string>& list) const;

    // Replaces every "$NAME$" of an existing variable by its value and scans the
    // value again, so references inside values expand too. Unknown names stay as
    // written. A reference met inside the expansion of a variable of the same
    // name (directly or through other variables) stays as written, and the
    // whole expansion stops substituting once it has made maxSubstitutions
    // substitutions or would grow beyond maxExpandedLength, so self-referring
    // values always end.
    std::u16string Expand(std::u16string_view text) const;
    // The same, each substituted value written between double quotes.
    std::u16string ExpandQuoted(std::u16string_view text) const;

    static constexpr size_t maxSubstitutions = 100000;
    static constexpr size_t maxExpandedLength = size_t(1) << 24;

    // The PJW/ELF hash of a name over its lower-case letters; exposed because
    // the iteration order of ListPairs follows from it.
    static uint32_t HashOf(std::u16string_view name);

private:
    struct Entry {
        std::u16string name;
        std::u16string value;
        uint32_t hash;
    };
    // Each chain lists its newest entry first.
    using Chain = std::vector<Entry>;

    const Entry* findLocked(std::u16string_view name, uint32_t hash) const;
    Entry* findLocked(std::u16string_view name, uint32_t hash)
    {
        return const_cast<Entry*>(static_cast<const TVariableManager*>(this)->findLocked(name, hash));
    }
    void growLocked();
    std::u16string expand(std::u16string_view text, bool quoted) const;

    mutable std::mutex lock_;
    std::vector<Chain> buckets_;
    size_t count_ = 0;
};

}  // namespace pellion
