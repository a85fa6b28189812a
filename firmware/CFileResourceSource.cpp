// Data resources read from files.
#include "firmware/CFileResourceSource.h"

#include <fstream>
#include <iterator>

void CFileResourceSource::SetFile(const char* type, UINT id, const std::string& path) {
    m_files[{type, id}] = path;
}

bool CFileResourceSource::GetResource(const char* type, UINT id, std::string& bytes) const {
    const auto found = m_files.find({type, id});
    if (found == m_files.end()) {
        return false;
    }
    std::ifstream file(found->second, std::ios::binary);
    if (!file) {
        return false;
    }
    std::string read((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (file.bad()) {
        return false;
    }
    bytes.swap(read);
    return true;
}
