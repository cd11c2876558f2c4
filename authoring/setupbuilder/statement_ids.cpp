// Deriving statement ids and recognising the GUID form.

#include "authoring/setupbuilder/statement_ids.h"

#include "authoring/setupbuilder/sha1.h"
#include "common/text.h"

namespace pellion::authoring {

namespace {

void appendPart(std::string& out, std::string_view part)
{
    out += std::to_string(part.size());
    out += ':';
    out += part;
}

}  // namespace

std::u16string derivedId(std::string_view kind, const std::vector<SourceStep>& place,
                         const std::vector<std::u16string>& texts)
{
    std::string input = "pellion setupbuilder id 1";
    appendPart(input, kind);
    input += "place" + std::to_string(place.size());
    for (const auto& [file, number] : place) {
        appendPart(input, toUtf8(file));
        appendPart(input, std::to_string(number));
    }
    input += "texts" + std::to_string(texts.size());
    for (const auto& text : texts)
        appendPart(input, toUtf8(text));

    auto digest = sha1(input);
    digest[6] = static_cast<uint8_t>((digest[6] & 0x0F) | 0x50);  // version 5: name-based, SHA-1
    digest[8] = static_cast<uint8_t>((digest[8] & 0x3F) | 0x80);  // RFC 4122 variant
    static constexpr char16_t hex[] = u"0123456789ABCDEF";
    std::u16string id = u"{";
    for (int i = 0; i < 16; ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10)
            id += u'-';
        id += hex[digest[i] >> 4];
        id += hex[digest[i] & 0xF];
    }
    id += u'}';
    return id;
}

bool isBracedGuid(std::u16string_view text)
{
    if (text.size() != 38 || text.front() != u'{' || text.back() != u'}')
        return false;
    for (size_t i = 1; i < 37; ++i) {
        const char16_t c = text[i];
        if (i == 9 || i == 14 || i == 19 || i == 24) {
            if (c != u'-')
                return false;
        } else if (!((c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f'))) {
            return false;
        }
    }
    return true;
}

}  // namespace pellion::authoring
