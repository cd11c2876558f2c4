// Creating, updating and deleting from archives: deciding which entries the new
// archive holds, then writing it beside the old one and replacing that only when
// everything was written.

#include "outside/archive.h"
#include "outside/entry_names.h"
#include "outside/guarded.h"
#include "outside/zip_writer.h"

#include "common/letter_case.h"
#include "common/text.h"

#include <map>

namespace pellion::archive {

namespace {

struct PlannedSource {
    NewEntry entry;
    std::u16string sourceFile;
    std::u16string key;  // the name without letter case: what makes two entries the same
};

std::u16string keyOf(std::u16string_view name)
{
    return upperCase(comparableName(name));
}

// The new entries, checked and with later duplicates replacing earlier ones.
Outcome planSources(FileAccess& files, std::span<const SourceEntry> sources, std::vector<PlannedSource>& plan)
{
    std::map<std::u16string, size_t> slotOfKey;
    for (const auto& source : sources) {
        const auto parts = safeNameParts(source.entryName);
        if (!parts)
            return Outcome::failure(ErrorCode::unsafeName, "unsafe entry name " + toUtf8(source.entryName));
        PlannedSource planned;
        planned.entry.folder = source.sourceFile.empty();
        std::u16string name;
        for (const auto& part : *parts)
            name += (name.empty() ? u"" : u"/") + part;
        planned.key = keyOf(name);
        planned.entry.storedName = toUtf8(name) + (planned.entry.folder ? "/" : "");
        planned.sourceFile = source.sourceFile;
        if (!planned.entry.folder) {
            const auto facts = files.facts(source.sourceFile);
            if (!facts.exists || facts.folder)
                return Outcome::failure(ErrorCode::cannotReadSource, "cannot read " + toUtf8(source.sourceFile));
            planned.entry.modified = facts.modified;
        }
        if (const auto found = slotOfKey.find(planned.key); found != slotOfKey.end()) {
            plan[found->second] = std::move(planned);
        } else {
            slotOfKey.emplace(planned.key, plan.size());
            plan.push_back(std::move(planned));
        }
    }
    return Outcome::success();
}

struct ExistingArchive {
    std::unique_ptr<InputFile> file;
    ZipDirectory directory;
};

Outcome openExisting(FileAccess& files, std::u16string_view path, ExistingArchive& existing)
{
    existing.file = files.openRead(path);
    if (!existing.file)
        return Outcome::failure(ErrorCode::cannotOpen, "cannot open " + toUtf8(path));
    return readZipDirectory(*existing.file, existing.directory);
}

// Writes the kept entries of `existing` (if any) and the new ones into a temporary
// file, then puts it in place of the archive.
Outcome writeArchive(FileAccess& files, std::u16string_view archive, ExistingArchive* existing,
                     const std::vector<const ZipEntry*>& kept, const std::vector<PlannedSource>& added,
                     const CreateOptions& options)
{
    uint64_t total = 0;
    for (const ZipEntry* entry : kept)
        total += entry->packedSize;
    std::vector<std::unique_ptr<InputFile>> sources;
    for (const auto& planned : added) {
        if (planned.entry.folder) {
            sources.push_back(nullptr);
            continue;
        }
        auto source = files.openRead(planned.sourceFile);
        if (!source)
            return Outcome::failure(ErrorCode::cannotReadSource, "cannot read " + toUtf8(planned.sourceFile));
        total += source->size();
        sources.push_back(std::move(source));
    }

    const std::u16string temporary = std::u16string(archive) + u".oxatmp";
    auto output = files.createFile(temporary);
    if (!output)
        return Outcome::failure(ErrorCode::cannotWrite, "cannot create " + toUtf8(temporary));
    auto outcome = [&] {
        ZipWriter writer(*output);
        ProgressCounter progress(options.progress, total);
        for (const ZipEntry* entry : kept) {
            if (!progress.startEntry(entry->name))
                return Outcome::failure(ErrorCode::cancelled, "cancelled");
            if (auto result = writer.copyEntry(*existing->file, existing->directory, *entry, progress); !result.ok())
                return result;
        }
        for (size_t i = 0; i < added.size(); ++i) {
            const auto& planned = added[i];
            if (!progress.startEntry(toUtf16(planned.entry.storedName)))
                return Outcome::failure(ErrorCode::cancelled, "cancelled");
            auto result = planned.entry.folder
                              ? writer.addFolder(planned.entry)
                              : writer.addFile(planned.entry, *sources[i], options.compression, options.level,
                                               options.password, progress);
            if (!result.ok())
                return result;
        }
        if (!progress.finish())
            return Outcome::failure(ErrorCode::cancelled, "cancelled");
        return writer.finish();
    }();
    // Every handle closes before the swap: Windows does not rename over an open file.
    output.reset();
    sources.clear();
    if (existing)
        existing->file.reset();
    if (outcome.ok() && !files.replaceFile(temporary, archive))
        outcome = Outcome::failure(ErrorCode::cannotWrite, "cannot replace " + toUtf8(archive));
    if (!outcome.ok())
        files.removeFile(temporary);
    return outcome;
}

}  // namespace

Outcome createArchive(FileAccess& files, std::u16string_view archive, std::span<const SourceEntry> entries,
                      const CreateOptions& options)
{
    return guarded([&] {
        if (archive.empty())
            return Outcome::failure(ErrorCode::invalidArgument, "no archive path");
        if (options.mode != UpdateMode::addReplace && options.mode != UpdateMode::updateNewer &&
            options.mode != UpdateMode::createNew)
            return Outcome::failure(ErrorCode::invalidArgument, "unknown update mode");
        std::vector<PlannedSource> added;
        if (auto outcome = planSources(files, entries, added); !outcome.ok())
            return outcome;

        ExistingArchive existing;
        std::vector<const ZipEntry*> kept;
        const bool update = options.mode != UpdateMode::createNew && files.facts(archive).exists;
        if (update) {
            if (auto outcome = openExisting(files, archive, existing); !outcome.ok())
                return outcome;
            std::map<std::u16string, size_t> addedByKey;
            for (size_t i = 0; i < added.size(); ++i)
                addedByKey.emplace(added[i].key, i);
            std::vector<bool> dropAdded(added.size(), false);
            for (const auto& entry : existing.directory.entries) {
                const auto found = addedByKey.find(keyOf(entry.name));
                if (found == addedByKey.end()) {
                    kept.push_back(&entry);
                } else if (options.mode == UpdateMode::updateNewer && !added[found->second].entry.folder &&
                           added[found->second].entry.modified <= entry.modified()) {
                    kept.push_back(&entry);
                    dropAdded[found->second] = true;
                }
            }
            std::vector<PlannedSource> remaining;
            for (size_t i = 0; i < added.size(); ++i) {
                if (!dropAdded[i])
                    remaining.push_back(std::move(added[i]));
            }
            added = std::move(remaining);
        }
        return writeArchive(files, archive, update ? &existing : nullptr, kept, added, options);
    });
}

Outcome deleteFromArchive(FileAccess& files, std::u16string_view archive, std::span<const std::u16string> patterns,
                          const ProgressFunction& progress)
{
    return guarded([&] {
        ExistingArchive existing;
        if (auto outcome = openExisting(files, archive, existing); !outcome.ok())
            return outcome;
        std::vector<const ZipEntry*> kept;
        for (const auto& entry : existing.directory.entries) {
            bool selected = false;
            for (const auto& pattern : patterns)
                selected = selected || patternSelects(pattern, entry.name);
            if (!selected)
                kept.push_back(&entry);
        }
        if (kept.size() == existing.directory.entries.size())
            return Outcome::success();
        CreateOptions options;
        options.progress = progress;
        return writeArchive(files, archive, &existing, kept, {}, options);
    });
}

}  // namespace pellion::archive
