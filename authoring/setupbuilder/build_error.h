// The one failure of the authoring tool: a message (UTF-8) for the person
// building the setup, naming the file and line when there is one.
#pragma once

#include <stdexcept>
#include <string>

namespace pellion::authoring {

class BuildError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace pellion::authoring
