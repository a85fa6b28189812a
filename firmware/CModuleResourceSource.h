// Data resources of the program's current resource module. Windows only.
#pragma once

#include "firmware/IResourceSource.h"

class CModuleResourceSource : public IResourceSource {
public:
    bool GetResource(const char* type, UINT id, std::string& bytes) const override;
};
