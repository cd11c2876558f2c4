// Language packs as the wizard holds them: the record the scan makes for each
// valid pack, and the loaded indexes of the pack in use.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace pellion {

struct LanguagePack {
    int id = 0;  // position in scan order, from 1
    int languageCode = 0;
    int format = 0;
    int major = 0;
    int minor = 0;
    int build = 0;
    std::u16string name;
    std::u16string extension;  // as stored, blanks included
    // Paths are empty when the scan did not accept the file entry.
    std::u16string scriptDataPath;
    std::u16string scriptDataFingerprint;
    std::u16string scriptIndexPath;
    std::u16string dialogDataPath;
    std::u16string dialogDataFingerprint;
    std::u16string dialogIndexPath;
    std::u16string wellKnownPath;
    std::u16string dataKey;
};

struct PackIndexRecord {
    std::u16string key;  // fingerprint as stored
    int32_t offset = 0;
    int32_t length = 0;
};

// An index in file order, with the first record of each key at hand so a
// lookup costs the same for a pack of ten entries as for one of ten thousand.
class PackIndex {
public:
    void clear();
    void add(PackIndexRecord record);
    // The first record in file order whose key equals the fingerprint exactly.
    const PackIndexRecord* find(const std::u16string& fingerprint) const;
    const std::vector<PackIndexRecord>& records() const { return records_; }

private:
    std::vector<PackIndexRecord> records_;
    std::unordered_map<std::u16string, size_t> firstByKey_;
};

struct WellKnownPair {
    std::u16string source;
    std::u16string translation;
};

// The well-known pairs in file order; the first pair of a source wins.
class WellKnownList {
public:
    void clear();
    void add(WellKnownPair pair);
    const std::u16string* find(const std::u16string& source) const;
    const std::vector<WellKnownPair>& pairs() const { return pairs_; }

private:
    std::vector<WellKnownPair> pairs_;
    std::unordered_map<std::u16string, size_t> firstBySource_;
};

struct LoadedIndexes {
    PackIndex scripts;
    PackIndex dialogs;
    WellKnownList wellKnown;

    void clear();
};

}  // namespace pellion
