// Writing, updating and reading the instance data file's text.

#include "engine/startup/instance_data.h"

#include "common/text.h"
#include "common/text_lines.h"

namespace pellion {

namespace {

constexpr std::u16string_view listEnd = u"$";
constexpr std::u16string_view bitnessName = u"QUAV64WOW";

class LineWriter {
public:
    void line(std::u16string_view text)
    {
        out_ += toUtf8(encodeStoredLine(text));
        out_ += "\r\n";
    }
    void list(const std::vector<std::u16string>& items)
    {
        for (const auto& item : items)
            line(item);
        line(listEnd);
    }
    void pair(std::u16string_view name, std::u16string_view value)
    {
        line(name);
        line(value);
    }
    void tail(const std::vector<NamedValue>& remembered, std::u16string_view bitnessMode,
              std::u16string_view overrideCache, std::u16string_view nativeEngine)
    {
        for (const auto& [name, value] : remembered)
            pair(name, value);
        pair(bitnessName, bitnessMode);
        pair(u"OVERRIDECACHE", overrideCache);
        pair(u"NATIVE_ENGINE", nativeEngine);
    }
    std::string take() { return std::move(out_); }

private:
    std::string out_;
};

}  // namespace

std::u16string encodeStoredLine(std::u16string_view value)
{
    std::u16string out;
    out.reserve(value.size());
    for (size_t i = 0; i < value.size(); ++i) {
        const char16_t c = value[i];
        if (c != u'\r' && c != u'\n') {
            out.push_back(c);
            continue;
        }
        if (c == u'\r' && i + 1 < value.size() && value[i + 1] == u'\n')
            ++i;
        out += u"$NEWLINE$";
    }
    return out;
}

std::string formatInstanceData(const InstanceDataContent& content)
{
    LineWriter writer;
    for (const auto& list : content.lists)
        writer.list(list);
    writer.line(content.targetDir);
    writer.line(content.allUsers);
    writer.line(content.startMenu);
    writer.line(content.mediaLine);
    writer.tail(content.remembered, content.bitnessMode, content.overrideCache, content.nativeEngine);
    return writer.take();
}

InstanceDataFile parseInstanceData(std::string_view bytes)
{
    const std::vector<std::u16string> lines = utf8Lines(bytes);
    InstanceDataFile file;
    size_t at = 0;
    for (auto& list : file.lists) {
        std::vector<std::u16string> items;
        while (at < lines.size() && lines[at] != listEnd)
            items.push_back(lines[at++]);
        if (at == lines.size())
            return file;  // the list never closed: it counts as not read
        ++at;
        list = std::move(items);
    }
    for (auto* single : {&file.targetDir, &file.allUsers, &file.startMenu}) {
        if (at == lines.size())
            return file;
        *single = lines[at++];
    }
    if (at == lines.size())
        return file;
    ++at;  // the media line is for the cached engine's start-up, not for this run
    while (at < lines.size()) {
        std::u16string name = lines[at++];
        std::u16string value = at < lines.size() ? lines[at++] : std::u16string();
        file.pairs.emplace_back(std::move(name), std::move(value));
    }
    return file;
}

std::optional<std::string> updatedInstanceData(std::string_view oldBytes, const std::vector<NamedValue>& remembered,
                                               std::u16string_view bitnessMode, std::u16string_view overrideCache,
                                               std::u16string_view nativeEngine)
{
    const std::vector<std::u16string> lines = utf8Lines(oldBytes);
    size_t ends = 0;
    size_t at = 0;
    while (at < lines.size() && ends < instanceListCount)
        if (lines[at++] == listEnd)
            ++ends;
    if (ends < instanceListCount)
        return std::nullopt;
    LineWriter writer;
    for (size_t i = 0; i < at; ++i)
        writer.line(lines[i]);
    for (size_t i = 0; i < 4; ++i)
        writer.line(at + i < lines.size() ? std::u16string_view(lines[at + i]) : std::u16string_view());
    writer.tail(remembered, bitnessMode, overrideCache, nativeEngine);
    return writer.take();
}

InstanceIdentityLines parseInstanceIdentity(std::string_view bytes)
{
    const std::vector<std::u16string> lines = utf8Lines(bytes);
    InstanceIdentityLines identity;
    if (lines.size() > 0)
        identity.productCode = lines[0];
    if (lines.size() > 1)
        identity.revisionCode = lines[1];
    if (lines.size() > 2)
        identity.title = lines[2];
    return identity;
}

}  // namespace pellion
