// Listing, extracting and testing: the operations that read an archive and leave it
// unchanged. Extraction decides every target path before it writes anything.

#include "outside/archive.h"
#include "outside/entry_data.h"
#include "outside/entry_names.h"
#include "outside/guarded.h"
#include "outside/progress_counter.h"
#include "outside/zip_format.h"

#include "common/text.h"

#include <set>

namespace pellion::archive {

namespace {

struct OpenArchive {
    std::unique_ptr<InputFile> file;
    ZipDirectory directory;
};

Outcome openArchive(FileAccess& files, std::u16string_view path, OpenArchive& archive)
{
    archive.file = files.openRead(path);
    if (!archive.file)
        return Outcome::failure(ErrorCode::cannotOpen, "cannot open " + toUtf8(path));
    return readZipDirectory(*archive.file, archive.directory);
}

std::u16string listedName(const ZipEntry& entry)
{
    return comparableName(entry.name);
}

// The entries to extract, in archive order: all, or those named (each once).
Outcome selectEntries(const ZipDirectory& directory, const std::vector<std::u16string>& names,
                      std::vector<const ZipEntry*>& selected)
{
    if (names.empty()) {
        for (const auto& entry : directory.entries)
            selected.push_back(&entry);
        return Outcome::success();
    }
    std::set<std::u16string> wanted;
    for (const auto& name : names)
        wanted.insert(comparableName(name));
    std::set<std::u16string> found;
    for (const auto& entry : directory.entries) {
        auto name = listedName(entry);
        if (wanted.count(name)) {
            selected.push_back(&entry);
            found.insert(std::move(name));
        }
    }
    for (const auto& name : wanted) {
        if (!found.count(name))
            return Outcome::failure(ErrorCode::entryNotFound, toUtf8(name) + " is not in the archive");
    }
    return Outcome::success();
}

// "report.txt" -> "report_1.txt", "README" -> "README_1": the first name not taken.
std::u16string freeName(FileAccess& files, std::u16string_view path)
{
    size_t nameStart = path.find_last_of(u"/\\");
    nameStart = nameStart == std::u16string_view::npos ? 0 : nameStart + 1;
    const size_t dot = path.rfind(u'.');
    const size_t split = dot != std::u16string_view::npos && dot > nameStart ? dot : path.size();
    for (int number = 1;; ++number) {
        std::u16string candidate(path.substr(0, split));
        candidate += u'_';
        candidate += toUtf16(std::to_string(number));
        candidate += path.substr(split);
        if (!files.facts(candidate).exists)
            return candidate;
    }
}

struct Planned {
    const ZipEntry* entry;
    std::u16string target;  // empty for folder entries skipped without paths
};

Outcome planTargets(FileAccess& files, std::u16string_view targetFolder, const std::vector<const ZipEntry*>& selected,
                    bool keepPaths, std::vector<Planned>& plan)
{
    for (const ZipEntry* entry : selected) {
        const auto parts = safeNameParts(entry->name);
        if (!parts)
            return Outcome::failure(ErrorCode::unsafeName, "unsafe entry name " + entry->utf8Name());
        if (!entry->folder()) {
            if (auto outcome = checkReadable(*entry); !outcome.ok())
                return outcome;
        }
        std::u16string target(targetFolder);
        if (keepPaths) {
            for (const auto& part : *parts)
                target = files.join(target, part);
        } else if (entry->folder()) {
            target.clear();
        } else {
            target = files.join(target, parts->back());
        }
        plan.push_back({entry, std::move(target)});
    }
    return Outcome::success();
}

std::u16string parentOf(std::u16string_view path)
{
    const size_t at = path.find_last_of(u"/\\");
    return std::u16string(at == std::u16string_view::npos ? std::u16string_view() : path.substr(0, at));
}

Outcome extractFile(FileAccess& files, OpenArchive& archive, const Planned& item, PasswordKeeper& passwords,
                    const ExtractOptions& options, ProgressCounter& progress)
{
    const ZipEntry& entry = *item.entry;
    auto target = item.target;
    if (!files.createFolders(parentOf(target)))
        return Outcome::failure(ErrorCode::cannotWrite, "cannot create the folder of " + toUtf8(target));
    const auto existing = files.facts(target);
    if (existing.exists) {
        if (existing.folder)
            return Outcome::failure(ErrorCode::cannotWrite, toUtf8(target) + " is a folder");
        const auto answer = options.onExisting ? options.onExisting(target) : ExistingFile::overwrite;
        if (answer == ExistingFile::cancel)
            return Outcome::failure(ErrorCode::cancelled, "cancelled at " + toUtf8(target));
        if (answer == ExistingFile::skip)
            return Outcome::success();
        if (answer == ExistingFile::rename)
            target = freeName(files, target);
    }

    // The data goes to a temporary name first, so a damaged entry never replaces
    // (or half-writes) the file already there.
    const auto partial = target + u".oxapart";
    auto output = files.createFile(partial);
    if (!output)
        return Outcome::failure(ErrorCode::cannotWrite, "cannot create " + toUtf8(partial));
    auto outcome = readEntryData(
        *archive.file, archive.directory, entry, passwords,
        [&](const uint8_t* data, size_t count) { return output->write(data, count); },
        [&](uint64_t bytes) { return progress.advance(bytes); });
    if (outcome.ok() && !output->close())
        outcome = Outcome::failure(ErrorCode::cannotWrite, "cannot write " + toUtf8(partial));
    output.reset();
    if (outcome.ok() && !files.replaceFile(partial, target))
        outcome = Outcome::failure(ErrorCode::cannotWrite, "cannot replace " + toUtf8(target));
    if (!outcome.ok()) {
        files.removeFile(partial);
        return outcome;
    }
    files.setModified(target, entry.modified());
    return Outcome::success();
}

}  // namespace

Outcome listArchive(FileAccess& files, std::u16string_view archivePath, std::vector<EntryInfo>& entries)
{
    return guarded([&] {
        OpenArchive archive;
        if (auto outcome = openArchive(files, archivePath, archive); !outcome.ok())
            return outcome;
        entries.clear();
        entries.reserve(archive.directory.entries.size());
        for (const auto& entry : archive.directory.entries) {
            EntryInfo info;
            info.name = listedName(entry);
            info.folder = entry.folder();
            info.encrypted = entry.encrypted();
            info.size = entry.size;
            info.packedSize = entry.packedSize;
            info.crc = entry.crc;
            info.method = entry.method;
            info.modified = entry.modified();
            entries.push_back(std::move(info));
        }
        return Outcome::success();
    });
}

Outcome extractArchive(FileAccess& files, std::u16string_view archivePath, std::u16string_view targetFolder,
                       const ExtractOptions& options)
{
    return guarded([&] {
        OpenArchive archive;
        if (auto outcome = openArchive(files, archivePath, archive); !outcome.ok())
            return outcome;
        std::vector<const ZipEntry*> selected;
        if (auto outcome = selectEntries(archive.directory, options.names, selected); !outcome.ok())
            return outcome;
        std::vector<Planned> plan;
        if (auto outcome = planTargets(files, targetFolder, selected, options.keepPaths, plan); !outcome.ok())
            return outcome;
        if (!files.createFolders(targetFolder))
            return Outcome::failure(ErrorCode::cannotWrite, "cannot create " + toUtf8(targetFolder));

        uint64_t total = 0;
        for (const auto& item : plan)
            total += item.entry->size;
        ProgressCounter progress(options.progress, total);
        PasswordKeeper passwords(options.password);
        for (const auto& item : plan) {
            if (!progress.startEntry(listedName(*item.entry)))
                return Outcome::failure(ErrorCode::cancelled, "cancelled");
            if (item.entry->folder()) {
                if (!item.target.empty() && !files.createFolders(item.target))
                    return Outcome::failure(ErrorCode::cannotWrite, "cannot create " + toUtf8(item.target));
                continue;
            }
            if (auto outcome = extractFile(files, archive, item, passwords, options, progress); !outcome.ok())
                return outcome;
        }
        if (!progress.finish())
            return Outcome::failure(ErrorCode::cancelled, "cancelled");
        return Outcome::success();
    });
}

Outcome testArchive(FileAccess& files, std::u16string_view archivePath, const TestOptions& options)
{
    return guarded([&] {
        OpenArchive archive;
        if (auto outcome = openArchive(files, archivePath, archive); !outcome.ok())
            return outcome;
        uint64_t total = 0;
        for (const auto& entry : archive.directory.entries)
            total += entry.size;
        ProgressCounter progress(options.progress, total);
        PasswordKeeper passwords(options.password);
        for (const auto& entry : archive.directory.entries) {
            if (!progress.startEntry(listedName(entry)))
                return Outcome::failure(ErrorCode::cancelled, "cancelled");
            if (entry.folder())
                continue;
            auto outcome = readEntryData(
                *archive.file, archive.directory, entry, passwords, [](const uint8_t*, size_t) { return true; },
                [&](uint64_t bytes) { return progress.advance(bytes); });
            if (!outcome.ok())
                return outcome;
        }
        if (!progress.finish())
            return Outcome::failure(ErrorCode::cancelled, "cancelled");
        return Outcome::success();
    });
}

}  // namespace pellion::archive
