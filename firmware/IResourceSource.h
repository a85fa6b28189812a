// Where data resources (the conversion table, for one) come from: the program's resource
// module on Windows, files wherever a program or test has no such module.
#pragma once

#include "classlib/core/WinTypes.h"

#include <string>

class IResourceSource {
public:
    virtual ~IResourceSource() = default;
    // The bytes of the resource of that type and id; false when there is none.
    virtual bool GetResource(const char* type, UINT id, std::string& bytes) const = 0;
};
