#include "classlib/win/CFileDialog.h"

#include <cstring>

namespace {

constexpr size_t kPathChars = MAX_PATH * 4;

}  // namespace

CFileDialog::CFileDialog(BOOL openFileDialog,
                         LPCSTR defaultExtension,
                         LPCSTR fileName,
                         DWORD flags,
                         LPCSTR filter,
                         CWnd* parent)
    : m_ofn(), m_open(openFileDialog), m_filter(ToSystemFilter(filter)), m_path(kPathChars, '\0') {
    if (fileName != nullptr) {
        std::strncpy(m_path.data(), fileName, kPathChars - 1);
    }
    if (defaultExtension != nullptr) {
        m_defaultExtension = defaultExtension;
    }
    m_ofn.lStructSize = sizeof(m_ofn);
    m_ofn.hwndOwner = parent != nullptr ? parent->GetSafeHwnd() : nullptr;
    m_ofn.Flags = flags | OFN_EXPLORER;
}

std::vector<char> CFileDialog::ToSystemFilter(LPCSTR filter) {
    std::vector<char> result;
    if (filter != nullptr) {
        for (const char* c = filter; *c != '\0'; ++c) {
            result.push_back(*c == '|' ? '\0' : *c);
        }
    }
    // Two terminators end the list whatever the text ended with.
    result.push_back('\0');
    result.push_back('\0');
    return result;
}

INT_PTR CFileDialog::DoModal() {
    m_ofn.lpstrFilter = m_filter.size() > 2 ? m_filter.data() : nullptr;
    m_ofn.lpstrFile = m_path.data();
    m_ofn.nMaxFile = static_cast<DWORD>(m_path.size());
    m_ofn.lpstrDefExt = m_defaultExtension.IsEmpty() ? nullptr : static_cast<LPCSTR>(m_defaultExtension);
    m_ofn.lpstrInitialDir = m_initialFolder.IsEmpty() ? nullptr : static_cast<LPCSTR>(m_initialFolder);
    const BOOL chosen = m_open ? GetOpenFileNameA(&m_ofn) : GetSaveFileNameA(&m_ofn);
    return chosen ? IDOK : IDCANCEL;
}
