#include "classlib/core/CException.h"

#include "classlib/core/CString.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <new>

IMPLEMENT_DYNAMIC(CException, CObject)

namespace {

// Set by operator new, read by the constructor that runs right after it on
// the same thread: tells exceptions made with new from those on the stack.
thread_local bool t_allocatingException = false;

int ReportToStandardError(LPCSTR text, UINT) {
    std::fprintf(stderr, "%s\n", text);
    return 1;  // the answer of an OK button
}

std::atomic<CException::ReportHook> g_reportHook{&ReportToStandardError};

constexpr UINT kReportTextChars = 1024;

}  // namespace

CException::CException() : m_onHeap(t_allocatingException) {
    t_allocatingException = false;
}

void* CException::operator new(std::size_t size) {
    void* memory = ::operator new(size);
    t_allocatingException = true;
    return memory;
}

void CException::operator delete(void* memory) {
    // Also reached when a constructor throws before it could take the flag.
    t_allocatingException = false;
    ::operator delete(memory);
}

void CException::Delete() {
    if (m_onHeap) {
        delete this;
    }
}

BOOL CException::GetErrorMessage(LPSTR buffer, UINT maxChars, UINT* helpContext) const {
    if (helpContext != nullptr) {
        *helpContext = 0;
    }
    CopyMessage("", buffer, maxChars);
    return FALSE;
}

BOOL CException::CopyMessage(LPCSTR text, LPSTR buffer, UINT maxChars) {
    if (buffer == nullptr || maxChars == 0) {
        return FALSE;
    }
    const size_t length = std::min<size_t>(std::strlen(text), maxChars - 1);
    std::memcpy(buffer, text, length);
    buffer[length] = '\0';
    return text[0] != '\0';
}

int CException::ReportError(UINT type, UINT messageId) const {
    char buffer[kReportTextChars];
    CString text;
    if (GetErrorMessage(buffer, kReportTextChars)) {
        text = buffer;
    } else if (messageId == 0 || !text.LoadString(messageId)) {
        text = "No error message is available.";
    }
    return Report(text, type);
}

int CException::Report(LPCSTR text, UINT type) {
    return g_reportHook.load()(text, type);
}

void CException::SetReportHook(ReportHook hook) {
    g_reportHook.store(hook == nullptr ? &ReportToStandardError : hook);
}
