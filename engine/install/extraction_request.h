// The parameter file through which an extraction is handed to a child engine
// process when the parent ran out of memory: what the parent writes, what the
// child reads back, and the child's one-line answer.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pellion {

struct ExtractionRequest {
    std::u16string archive;
    std::u16string password;
    std::u16string targetFolder;
    bool pathFlag = false;
    bool renameFlag = false;
    std::vector<std::u16string> entries;  // kept in a second file: the parameter file's name + "items"
};

// The parameter file's text (UTF-8, one value a line, flags "TRUE"/"FALSE").
std::string requestFileText(const ExtractionRequest& request);
// The entry list file's text, one name a line.
std::string requestItemsText(const ExtractionRequest& request);

// Reads both texts back (optional byte-order mark; any line end; flags true
// when "True" in any letter case). nullopt when the parameter text has fewer
// than five lines.
std::optional<ExtractionRequest> readRequest(std::string_view fileText, std::string_view itemsText);

// The child's answer: the error text on the first line, empty for success.
std::u16string answerOf(std::string_view answerFileText);

}  // namespace pellion
