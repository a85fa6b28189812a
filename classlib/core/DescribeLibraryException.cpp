#include "classlib/core/DescribeLibraryException.h"

#include "classlib/core/CExceptionGuard.h"

std::string DescribeLibraryException(CException* caught) {
    CExceptionGuard exception(caught);
    if (caught == nullptr) {
        return "No error message is available.";
    }
    char text[512] = {};
    if (!exception->GetErrorMessage(text, sizeof(text))) {
        return "No error message is available.";
    }
    return text;
}
