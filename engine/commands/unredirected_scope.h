// The "unredirected" rule of file commands: on a 64-bit Windows, in a bitness
// mode other than "Win32", WOW64 file-system redirection is off while the
// command runs. A command inside one that already switched it off leaves it
// alone, so it is never switched twice nor restored too early.
#pragma once

#include <string_view>

#include "engine/commands/command_services.h"

namespace pellion {

class UnredirectedScope {
public:
    UnredirectedScope(CommandServices& services, std::u16string_view bitnessMode)
    {
        if (services.redirectionOff || bitnessMode == u"Win32" || !services.redirection.windows64())
            return;
        if (services.redirection.switchOff()) {
            services.redirectionOff = true;
            owner_ = &services;
        }
    }
    ~UnredirectedScope()
    {
        if (owner_) {
            owner_->redirection.switchBack();
            owner_->redirectionOff = false;
        }
    }
    UnredirectedScope(const UnredirectedScope&) = delete;
    UnredirectedScope& operator=(const UnredirectedScope&) = delete;

private:
    CommandServices* owner_ = nullptr;
};

}  // namespace pellion
