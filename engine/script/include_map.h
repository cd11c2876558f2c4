// Which include a statement belongs to. The authoring tool expands includes in
// place and marks each statement with its include depth and source location;
// from these the map rebuilds the include instances as a tree (the main
// script is instance 0), so that two includes that follow each other at the
// same depth stay apart and a jump across several levels is seen as such.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/startup/script_package.h"

namespace pellion {

class IncludeMap {
public:
    explicit IncludeMap(const TScriptPackage& package);

    // 0 for the main script and for numbers outside the package.
    size_t instanceOf(size_t statement) const;
    int32_t depthOf(size_t instance) const { return instances_[instance].depth; }
    size_t parentOf(size_t instance) const { return instances_[instance].parent; }
    // Whether instance lies inside ancestor (or is it).
    bool within(size_t instance, size_t ancestor) const;
    size_t commonAncestor(size_t a, size_t b) const;
    size_t instanceCount() const { return instances_.size(); }

private:
    struct Instance {
        size_t parent;
        int32_t depth;
    };
    std::vector<Instance> instances_;
    std::vector<size_t> instanceOf_;
};

}  // namespace pellion
