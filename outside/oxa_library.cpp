// The library's operations: argument checks, the callbacks turned into the archive
// core's functions (with their defaults when a caller passes none), and failures
// turned into the result 0 plus a code for GetLastArchiveError.

#include "outside/oxa_library.h"

#include "outside/guarded.h"
#include "outside/source_selection.h"
#include "outside/switch_text.h"

#include "common/text.h"
#include "common/wide.h"

#include <memory>
#include <optional>

namespace pellion::archive {

namespace {

constexpr int64_t fileTimeAtUnixEpoch = 116444736000000000LL;
constexpr int64_t fileTimeStepsPerSecond = 10000000LL;

std::optional<std::vector<std::u16string>> namesOf(TSZW_TARGETFILES list)
{
    if (list.count < 0 || (list.count > 0 && !list.names))
        return std::nullopt;
    std::vector<std::u16string> names;
    names.reserve(static_cast<size_t>(list.count));
    for (int32_t i = 0; i < list.count; ++i) {
        if (list.names[i])
            names.push_back(fromWide(list.names[i]));
    }
    return names;
}

std::u16string windowsName(std::u16string name)
{
    for (auto& c : name) {
        if (c == u'/')
            c = u'\\';
    }
    return name;
}

ProgressFunction progressFunction(OxaProgressCallback callback)
{
    if (!callback)
        return {};  // the default answers "go on" every time
    return [callback](std::u16string_view name, uint64_t done, uint64_t total) {
        const auto wide = toWide(windowsName(std::u16string(name)));
        return callback(wide.c_str(), done, total) != 0;
    };
}

void notifyStart(OxaNotifyCallback notify, size_t entries)
{
    if (notify)
        notify(1, static_cast<int32_t>(entries));
}

Outcome invalid(const char* what)
{
    return Outcome::failure(ErrorCode::invalidArgument, what);
}

bool missing(const wchar_t* text)
{
    return !text || !*text;
}

}  // namespace

// Serializes operations. A second thread waits its turn; the operation's own
// thread calling in again from a callback is refused instead of deadlocking.
class OxaLibrary::Operation {
public:
    Operation(OxaLibrary& library, const wchar_t* password) : library_(library)
    {
        if (library.operationThread_.load() == GetCurrentThreadId()) {
            busy_ = true;
            return;
        }
        library.operationLock_.lock();
        library.operationThread_.store(GetCurrentThreadId());
        library.passwordSlot_ = fromWide(password);
        library.passwordHandedOut_ = false;
    }
    Operation(const Operation&) = delete;
    Operation& operator=(const Operation&) = delete;
    ~Operation()
    {
        if (busy_)
            return;
        // The password is not kept beyond the operation that was given it.
        library_.passwordSlot_.assign(library_.passwordSlot_.size(), u'\0');
        library_.passwordSlot_.clear();
        library_.operationThread_.store(0);
        library_.operationLock_.unlock();
    }

    bool busy() const { return busy_; }

private:
    OxaLibrary& library_;
    bool busy_ = false;
};

struct OxaLibrary::Listing {
    std::vector<std::wstring> names;
    std::vector<OxaListEntry> entries;
};

int32_t OxaLibrary::report(const Outcome& outcome)
{
    if (outcome.ok())
        return 1;
    lastError_.store(static_cast<int32_t>(outcome.code));
    return 0;
}

PasswordFunction OxaLibrary::passwordFunction(OxaPasswordCallback callback)
{
    return [this, callback]() -> std::optional<std::string> {
        if (callback) {
            std::vector<wchar_t> buffer(oxaPasswordBufferLength, L'\0');
            if (!callback(buffer.data()))
                return std::nullopt;
            buffer.back() = L'\0';
            return toUtf8(fromWide(buffer.data()));
        }
        // The default: the operation's password, handed out once.
        if (passwordSlot_.empty() || passwordHandedOut_)
            return std::nullopt;
        passwordHandedOut_ = true;
        return toUtf8(passwordSlot_);
    };
}

int32_t OxaLibrary::setDllDirectory(const wchar_t* folder)
{
    // Nothing is loaded from there: the archive code is built into this library.
    Operation operation(*this, nullptr);
    if (operation.busy())
        return report(Outcome::failure(ErrorCode::busy, "called from a callback"));
    return report(guarded([&] {
        dllDirectory_ = fromWide(folder);
        return Outcome::success();
    }));
}

int32_t OxaLibrary::extract(const wchar_t* archive, const wchar_t* targetFolder, TSZW_TARGETFILES entries,
                            int32_t pathMode, const wchar_t* password, OxaPasswordCallback passwordCallback,
                            OxaProgressCallback progress, OxaNotifyCallback notify, OxaOverwriteCallback overwrite)
{
    Operation operation(*this, password);
    if (operation.busy())
        return report(Outcome::failure(ErrorCode::busy, "called from a callback"));
    return report(guarded([&] {
        const auto names = namesOf(entries);
        if (missing(archive) || missing(targetFolder) || !names)
            return invalid("archive, target folder and entry list are needed");
        std::optional<ExistingFile> answerForAll;
        ExtractOptions options;
        options.names = *names;
        options.keepPaths = pathMode == 0;
        options.progress = progressFunction(progress);
        options.password = passwordFunction(passwordCallback);
        options.onExisting = [&](std::u16string_view) {
            if (answerForAll)
                return *answerForAll;
            if (!overwrite)
                return ExistingFile::overwrite;
            switch (overwrite(0, 0, 0, 0, 0, 0, 0, 0, 0, 0)) {
            case 1:
                answerForAll = ExistingFile::overwrite;
                return ExistingFile::overwrite;
            case 2:
                return ExistingFile::overwrite;
            case 3:
                return ExistingFile::skip;
            case 4:
                answerForAll = ExistingFile::rename;
                return ExistingFile::rename;
            default:
                return ExistingFile::cancel;
            }
        };
        notifyStart(notify, options.names.size());
        return extractArchive(files_, fromWide(archive), fromWide(targetFolder), options);
    }));
}

int32_t OxaLibrary::create(const wchar_t* archive, TSZW_TARGETFILES files, TSZW_TARGETFILES excluded,
                           int32_t updateMode, const wchar_t* switches, const wchar_t* password,
                           OxaProgressCallback progress, OxaNotifyCallback notify)
{
    Operation operation(*this, password);
    if (operation.busy())
        return report(Outcome::failure(ErrorCode::busy, "called from a callback"));
    return report(guarded([&] {
        const auto items = namesOf(files);
        const auto left = namesOf(excluded);
        if (missing(archive) || !items || !left)
            return invalid("archive and file lists are needed");
        if (updateMode < 0 || updateMode > 2)
            return invalid("unknown update mode");
        std::vector<SourceEntry> sources;
        if (auto outcome = selectSources(files_, *items, *left, sources); !outcome.ok())
            return outcome;
        const auto compression = compressionFromSwitches(fromWide(switches));
        CreateOptions options;
        options.mode = static_cast<UpdateMode>(updateMode);
        options.compression = compression.compression;
        options.level = compression.level;
        options.password = toUtf8(passwordSlot_);
        options.progress = progressFunction(progress);
        notifyStart(notify, sources.size());
        return createArchive(files_, fromWide(archive), sources, options);
    }));
}

int32_t OxaLibrary::remove(const wchar_t* archive, TSZW_TARGETFILES entries, OxaProgressCallback progress,
                           OxaNotifyCallback notify)
{
    Operation operation(*this, nullptr);
    if (operation.busy())
        return report(Outcome::failure(ErrorCode::busy, "called from a callback"));
    return report(guarded([&] {
        const auto patterns = namesOf(entries);
        if (missing(archive) || !patterns)
            return invalid("archive and entry list are needed");
        notifyStart(notify, patterns->size());
        return deleteFromArchive(files_, fromWide(archive), *patterns, progressFunction(progress));
    }));
}

int32_t OxaLibrary::test(const wchar_t* archive, const wchar_t* password, OxaPasswordCallback passwordCallback,
                         OxaProgressCallback progress)
{
    Operation operation(*this, password);
    if (operation.busy())
        return report(Outcome::failure(ErrorCode::busy, "called from a callback"));
    return report(guarded([&] {
        if (missing(archive))
            return invalid("no archive");
        TestOptions options;
        options.progress = progressFunction(progress);
        options.password = passwordFunction(passwordCallback);
        return testArchive(files_, fromWide(archive), options);
    }));
}

OxaListHandle OxaLibrary::openList(const wchar_t* archive, OxaListEntry** entries, int32_t* count)
{
    Operation operation(*this, nullptr);
    if (operation.busy()) {
        report(Outcome::failure(ErrorCode::busy, "called from a callback"));
        return nullptr;
    }
    std::unique_ptr<Listing> listing;
    const auto outcome = guarded([&] {
        if (missing(archive) || !entries || !count)
            return invalid("archive and both results are needed");
        std::vector<EntryInfo> listed;
        if (auto result = listArchive(files_, fromWide(archive), listed); !result.ok())
            return result;
        listing = std::make_unique<Listing>();
        listing->names.reserve(listed.size());  // never reallocated: entries point into it
        listing->entries.reserve(listed.size());
        for (size_t i = 0; i < listed.size(); ++i) {
            const auto& info = listed[i];
            listing->names.push_back(toWide(windowsName(info.name)));
            OxaListEntry entry{};
            entry.name = listing->names.back().c_str();
            entry.attributes = (info.folder ? oxaAttributeFolder : oxaAttributeFile) |
                               (info.encrypted ? oxaAttributeEncrypted : 0);
            entry.crc = info.crc;
            entry.size = info.size;
            entry.packedSize = info.packedSize;
            entry.modified = static_cast<uint64_t>(std::max<int64_t>(0, info.modified * fileTimeStepsPerSecond +
                                                                            fileTimeAtUnixEpoch));
            entry.method = info.method;
            entry.index = static_cast<uint32_t>(i);
            listing->entries.push_back(entry);
        }
        std::lock_guard<std::mutex> hold(listingsLock_);
        listings_.insert(listing.get());
        return Outcome::success();
    });
    if (!outcome.ok()) {
        report(outcome);
        return nullptr;
    }
    *entries = listing->entries.empty() ? nullptr : listing->entries.data();
    *count = static_cast<int32_t>(listing->entries.size());
    return listing.release();
}

void OxaLibrary::closeList(OxaListHandle handle)
{
    auto* listing = static_cast<Listing*>(handle);
    {
        std::lock_guard<std::mutex> hold(listingsLock_);
        // A handle this library did not hand out (or already closed) is refused,
        // not freed.
        if (!listings_.erase(listing)) {
            report(invalid("unknown listing handle"));
            return;
        }
    }
    delete listing;
}

}  // namespace pellion::archive
