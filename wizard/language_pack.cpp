// Loaded pack indexes: file order kept, first entry of a key found directly.

#include "language_pack.h"

namespace pellion {

void PackIndex::clear()
{
    records_.clear();
    firstByKey_.clear();
}

void PackIndex::add(PackIndexRecord record)
{
    firstByKey_.try_emplace(record.key, records_.size());
    records_.push_back(std::move(record));
}

const PackIndexRecord* PackIndex::find(const std::u16string& fingerprint) const
{
    const auto found = firstByKey_.find(fingerprint);
    return found == firstByKey_.end() ? nullptr : &records_[found->second];
}

void WellKnownList::clear()
{
    pairs_.clear();
    firstBySource_.clear();
}

void WellKnownList::add(WellKnownPair pair)
{
    firstBySource_.try_emplace(pair.source, pairs_.size());
    pairs_.push_back(std::move(pair));
}

const std::u16string* WellKnownList::find(const std::u16string& source) const
{
    const auto found = firstBySource_.find(source);
    return found == firstBySource_.end() ? nullptr : &pairs_[found->second].translation;
}

void LoadedIndexes::clear()
{
    scripts.clear();
    dialogs.clear();
    wellKnown.clear();
}

}  // namespace pellion
