// Converting a path to its full short or long form.

#include "engine/commands/path_conversion.h"

#include "engine/commands/text_parts.h"

namespace pellion {

namespace {

constexpr std::u16string_view longPathPrefix = u"\\\\?\\";

std::u16string shortFormOf(PathSystem& system, const std::u16string& path)
{
    if (auto converted = system.shortPath(path))
        return *converted;
    if (auto converted = system.shortPath(std::u16string(longPathPrefix) + path)) {
        if (std::u16string_view(*converted).substr(0, longPathPrefix.size()) == longPathPrefix)
            converted->erase(0, longPathPrefix.size());
        return *converted;
    }
    return path;
}

std::u16string longFormOf(PathSystem& system, std::u16string path)
{
    std::erase(path, u'"');
    if (!path.empty() && path.back() == u'\\')
        path.pop_back();
    const std::u16string drive = drivePart(path);
    std::u16string rebuilt = drive;
    size_t at = drive.size();
    while (at < path.size()) {
        if (path[at] == u'\\') {
            ++at;
            continue;
        }
        size_t end = path.find(u'\\', at);
        if (end == std::u16string::npos)
            end = path.size();
        const std::u16string component = path.substr(at, end - at);
        const std::u16string candidate = rebuilt + u"\\" + component;
        if (auto found = system.foundName(candidate); found && component != u"." && component != u"..")
            rebuilt += u"\\" + *found;
        else
            rebuilt = path.substr(0, end);  // the rest as written
        at = end;
    }
    return rebuilt;
}

}  // namespace

std::u16string convertPath(PathSystem& system, std::u16string_view path, std::u16string_view setupFolder,
                           bool shortForm)
{
    std::u16string text(path);
    if (auto expanded = system.expandEnvironment(text); !expanded.empty())
        text = std::move(expanded);
    if (drivePart(text).empty()) {
        std::u16string folder(setupFolder);
        if (folder.empty() || folder.back() != u'\\')
            folder += u'\\';
        text = folder + text;
    }
    if (auto full = system.fullPath(text); !full.empty())
        text = std::move(full);
    if (!system.exists(text))
        return {};
    return shortForm ? shortFormOf(system, text) : longFormOf(system, text);
}

}  // namespace pellion
