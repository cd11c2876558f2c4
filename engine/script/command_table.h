// The names the engine understands, each with its handler and, where the
// command has one, its validation check. Every command family registers its
// handlers in one function (registerStringCommands(CommandTable&) and so on),
// so the list of commands is one grep away. The control-flow statements are
// the loop's own and never appear here.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace pellion {

class Statement;
class StatementView;

using CommandHandler = std::function<void(Statement&)>;
// True when the statement passes the command's own validation check.
using CommandCheck = std::function<bool(const StatementView&)>;

struct CommandEntry {
    CommandHandler handler;
    CommandCheck check;  // may be empty
};

class CommandTable {
public:
    // Names are compared exactly. Registering a name twice is a programming
    // error and throws std::logic_error.
    void add(std::u16string name, CommandHandler handler, CommandCheck check = {});
    // Nothing for an unknown name: such a statement does nothing.
    const CommandEntry* find(std::u16string_view name) const;
    size_t size() const { return entries_.size(); }

private:
    std::unordered_map<std::u16string, CommandEntry> entries_;
};

}  // namespace pellion
