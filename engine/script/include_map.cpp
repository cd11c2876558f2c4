// Rebuilding include instances from depths and source locations.
//
// A statement at the depth of the include being read starts a new include of
// that depth when its source file differs or its number within the file does
// not grow: the statements of one include are numbered upwards within one file.

#include "engine/script/include_map.h"

#include <string>

#include "common/letter_case.h"

namespace pellion {

namespace {

struct Frame {
    size_t instance;
    int32_t depth;
    std::u16string file;
    int32_t lastNumber;
    bool seen;
};

}  // namespace

IncludeMap::IncludeMap(const TScriptPackage& package)
{
    instances_.push_back({0, 0});
    std::vector<Frame> open{{0, 0, {}, 0, false}};
    auto openInstance = [&](int32_t depth) {
        instances_.push_back({open.back().instance, depth});
        open.push_back({instances_.size() - 1, depth, {}, 0, false});
    };
    instanceOf_.reserve(package.statementCount());
    for (size_t i = 0; i < package.statementCount(); ++i) {
        const int32_t depth = package.includeLevel(i).depth < 0 ? 0 : package.includeLevel(i).depth;
        const TSourceLocation location = package.sourceLocation(i);
        while (open.back().depth > depth)
            open.pop_back();
        Frame& top = open.back();
        if (depth > 0 && top.depth == depth && top.seen && !location.file.empty() && !top.file.empty()
            && (!equalsNoCase(location.file, top.file) || location.number <= top.lastNumber)) {
            open.pop_back();
            openInstance(depth);
        }
        while (open.back().depth < depth)
            openInstance(open.back().depth + 1);
        Frame& current = open.back();
        current.file = location.file;
        current.lastNumber = location.number;
        current.seen = true;
        instanceOf_.push_back(current.instance);
    }
}

size_t IncludeMap::instanceOf(size_t statement) const
{
    return statement < instanceOf_.size() ? instanceOf_[statement] : 0;
}

bool IncludeMap::within(size_t instance, size_t ancestor) const
{
    for (;;) {
        if (instance == ancestor)
            return true;
        if (instance == 0)
            return false;
        instance = instances_[instance].parent;
    }
}

size_t IncludeMap::commonAncestor(size_t a, size_t b) const
{
    while (depthOf(a) > depthOf(b))
        a = parentOf(a);
    while (depthOf(b) > depthOf(a))
        b = parentOf(b);
    while (a != b) {
        a = parentOf(a);
        b = parentOf(b);
    }
    return a;
}

}  // namespace pellion
