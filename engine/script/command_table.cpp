// The command registry.

#include "engine/script/command_table.h"

#include <stdexcept>

#include "common/text.h"

namespace pellion {

void CommandTable::add(std::u16string name, CommandHandler handler, CommandCheck check)
{
    const std::string printable = toUtf8(name);
    if (!entries_.try_emplace(std::move(name), CommandEntry{std::move(handler), std::move(check)}).second)
        throw std::logic_error("command registered twice: " + printable);
}

const CommandEntry* CommandTable::find(std::u16string_view name) const
{
    const auto found = entries_.find(std::u16string(name));
    return found == entries_.end() ? nullptr : &found->second;
}

}  // namespace pellion
