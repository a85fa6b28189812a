// Data resources kept as files: each (type, id) is given the file that holds its bytes.
// Serves programs and tests that have no resource module.
#pragma once

#include "firmware/IResourceSource.h"

#include <map>
#include <string>
#include <utility>

class CFileResourceSource : public IResourceSource {
public:
    // The resource of that type and id is the file at `path`; a later call for the same
    // type and id replaces the path.
    void SetFile(const char* type, UINT id, const std::string& path);

    // False when no file is set for the resource or the file cannot be read.
    bool GetResource(const char* type, UINT id, std::string& bytes) const override;

private:
    std::map<std::pair<std::string, UINT>, std::string> m_files;
};
