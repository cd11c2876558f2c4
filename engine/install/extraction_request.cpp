// Extraction hand-over file format.

#include "engine/install/extraction_request.h"

#include "common/letter_case.h"
#include "common/text.h"
#include "common/text_lines.h"

namespace pellion {

namespace {

std::string line(std::u16string_view text)
{
    return toUtf8(text) + "\r\n";
}

}  // namespace

std::string requestFileText(const ExtractionRequest& request)
{
    return line(request.archive) + line(request.password) + line(request.targetFolder)
         + line(request.pathFlag ? u"TRUE" : u"FALSE") + line(request.renameFlag ? u"TRUE" : u"FALSE");
}

std::string requestItemsText(const ExtractionRequest& request)
{
    std::string text;
    for (const auto& entry : request.entries)
        text += line(entry);
    return text;
}

std::optional<ExtractionRequest> readRequest(std::string_view fileText, std::string_view itemsText)
{
    const auto lines = utf8Lines(fileText);
    if (lines.size() < 5)
        return std::nullopt;
    ExtractionRequest request;
    request.archive = lines[0];
    request.password = lines[1];
    request.targetFolder = lines[2];
    request.pathFlag = equalsNoCase(lines[3], u"True");
    request.renameFlag = equalsNoCase(lines[4], u"True");
    request.entries = utf8Lines(itemsText);
    return request;
}

std::u16string answerOf(std::string_view answerFileText)
{
    const auto lines = utf8Lines(answerFileText);
    return lines.empty() ? std::u16string() : lines.front();
}

}  // namespace pellion
