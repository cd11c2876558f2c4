// The hash table of variables and the expansion scan.

#include "engine/script/variable_manager.h"

#include "common/letter_case.h"

namespace pellion {

namespace {

constexpr size_t firstBucketCount = 32;

struct OpenValue {
    size_t end;             // one past the last unit of the substituted value
    std::u16string name;    // upper case
};

}  // namespace

uint32_t TVariableManager::HashOf(std::u16string_view name)
{
    uint32_t h = 0;
    for (const char16_t c : name) {
        // Lower case of the upper-case form: names equal without letter case
        // always hash alike, also for the few letters whose two mappings differ.
        h = (h << 4) + toLower(toUpper(c));
        if (h >= 0x10000000u)
            h = h ^ ((h >> 28) << 4) ^ (h & 0xF0000000u);
    }
    return h;
}

const TVariableManager::Entry* TVariableManager::findLocked(std::u16string_view name, uint32_t hash) const
{
    if (buckets_.empty())
        return nullptr;
    for (const Entry& entry : buckets_[hash % buckets_.size()])
        if (entry.hash == hash && equalsNoCase(entry.name, name))
            return &entry;
    return nullptr;
}

void TVariableManager::growLocked()
{
    std::vector<Chain> old = std::move(buckets_);
    buckets_.assign(old.size() * 2, Chain{});
    for (Chain& chain : old)
        for (Entry& entry : chain) {
            Chain& target = buckets_[entry.hash % buckets_.size()];
            target.insert(target.begin(), std::move(entry));
        }
}

void TVariableManager::Add(std::u16string_view name, std::u16string_view value)
{
    if (name.empty())
        return;
    const uint32_t hash = HashOf(name);
    std::lock_guard guard(lock_);
    if (Entry* existing = findLocked(name, hash)) {
        existing->value = value;
        return;
    }
    if (buckets_.empty())
        buckets_.assign(firstBucketCount, Chain{});
    Chain& chain = buckets_[hash % buckets_.size()];
    chain.insert(chain.begin(), Entry{std::u16string(name), std::u16string(value), hash});
    ++count_;
    if (count_ >= 2 * buckets_.size())
        growLocked();
}

bool TVariableManager::Exists(std::u16string_view name) const
{
    if (name.empty())
        return false;
    const uint32_t hash = HashOf(name);
    std::lock_guard guard(lock_);
    return findLocked(name, hash) != nullptr;
}

std::optional<std::u16string> TVariableManager::Find(std::u16string_view name) const
{
    if (name.empty())
        return std::nullopt;
    const uint32_t hash = HashOf(name);
    std::lock_guard guard(lock_);
    if (const Entry* entry = findLocked(name, hash))
        return entry->value;
    return std::nullopt;
}

std::u16string TVariableManager::GetItem(std::u16string_view name) const
{
    return Find(name).value_or(std::u16string());
}

void TVariableManager::Remove(std::u16string_view name)
{
    if (name.empty())
        return;
    const uint32_t hash = HashOf(name);
    std::lock_guard guard(lock_);
    if (buckets_.empty())
        return;
    Chain& chain = buckets_[hash % buckets_.size()];
    for (auto it = chain.begin(); it != chain.end(); ++it)
        if (it->hash == hash && equalsNoCase(it->name, name)) {
            chain.erase(it);
            --count_;
            return;
        }
}

void TVariableManager::Clear()
{
    std::lock_guard guard(lock_);
    buckets_.clear();
    count_ = 0;
}

size_t TVariableManager::Count() const
{
    std::lock_guard guard(lock_);
    return count_;
}

size_t TVariableManager::ListPairs(std::vector<std::u16string>& list) const
{
    std::lock_guard guard(lock_);
    for (const Chain& chain : buckets_)
        for (const Entry& entry : chain) {
            list.push_back(entry.name);
            list.push_back(entry.value);
        }
    return count_;
}

size_t TVariableManager::ListNames(std::vector<std::u16string>& list) const
{
    std::lock_guard guard(lock_);
    for (const Chain& chain : buckets_)
        for (const Entry& entry : chain)
            list.push_back(entry.name);
    return count_;
}

std::u16string TVariableManager::Expand(std::u16string_view text) const
{
    return expand(text, false);
}

std::u16string TVariableManager::ExpandQuoted(std::u16string_view text) const
{
    return expand(text, true);
}

// Positions count from 0 here. Each substituted value is remembered as an open
// value until the scan has passed its end; the open values around the scan
// position are the chain of variables being expanded there, so a reference to
// one of them is a self reference. The lock is taken per lookup: a value may
// change between two substitutions of one expansion.
std::u16string TVariableManager::expand(std::u16string_view source, bool quoted) const
{
    std::u16string text(source);
    if (text.find(u'$') == std::u16string::npos)
        return text;
    std::vector<OpenValue> open;
    size_t substitutions = 0;
    size_t p = 0;
    for (;;) {
        const size_t a = text.find(u'$', p);
        if (a == std::u16string::npos)
            return text;
        const size_t b = text.find(u'$', a + 1);
        const std::u16string_view name = b == std::u16string::npos
            ? std::u16string_view()
            : std::u16string_view(text).substr(a + 1, b - a - 1);
        const size_t referenceLength = name.size() + 2;

        while (!open.empty() && open.back().end <= a)
            open.pop_back();
        bool selfReference = false;
        for (const OpenValue& value : open)
            if (equalsNoCase(value.name, name))
                selfReference = true;

        std::optional<std::u16string> value;
        if (!name.empty() && !selfReference && substitutions < maxSubstitutions)
            value = Find(name);
        if (value && quoted)
            value = u"\"" + *value + u"\"";
        if (!value || text.size() - referenceLength + value->size() > maxExpandedLength) {
            p = a + name.size() + 1;
            continue;
        }

        for (OpenValue& outer : open)
            outer.end = outer.end >= a + referenceLength ? outer.end - referenceLength + value->size()
                                                         : a + value->size();
        OpenValue added{a + value->size(), upperCase(name)};
        text.replace(a, referenceLength, *value);
        open.push_back(std::move(added));
        ++substitutions;
        p = a;
    }
}

}  // namespace pellion
