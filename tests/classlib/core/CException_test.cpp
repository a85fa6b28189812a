#include "classlib/core/CException.h"

#include "classlib/core/CExceptionGuard.h"
#include "classlib/core/CFileException.h"
#include "classlib/core/CMemoryException.h"
#include "classlib/core/CNotSupportedException.h"
#include "classlib/core/CResourceException.h"
#include "classlib/core/CString.h"

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

int g_destroyed = 0;

class CCountedException : public CException {
public:
    ~CCountedException() override { ++g_destroyed; }
};

std::vector<std::string> g_reports;

int RecordReport(LPCSTR text, UINT type) {
    g_reports.push_back(text);
    return static_cast<int>(type) + 1;
}

}  // namespace

TEST(CException, GuardReleasesACaughtExceptionOnce) {
    g_destroyed = 0;
    try {
        throw new CCountedException;
    } catch (CException* caught) {
        CExceptionGuard e(caught);
        EXPECT_EQ(caught, e.Get());
    }
    EXPECT_EQ(1, g_destroyed);

    CException* kept = nullptr;
    try {
        throw new CCountedException;
    } catch (CException* caught) {
        CExceptionGuard e(caught);
        kept = e.Release();
    }
    EXPECT_EQ(1, g_destroyed);
    kept->Delete();
    EXPECT_EQ(2, g_destroyed);
}

TEST(CException, DeleteLeavesAnExceptionOnTheStackAlone) {
    g_destroyed = 0;
    {
        CCountedException onStack;
        onStack.Delete();
        EXPECT_EQ(0, g_destroyed);
    }
    EXPECT_EQ(1, g_destroyed);
}

TEST(CException, CaughtByItsClassOrTheBase) {
    try {
        CFileException::ThrowOsError(32, "C:\\data\\car.zcf");
    } catch (CException* caught) {
        CExceptionGuard e(caught);
        ASSERT_TRUE(e->IsKindOf(RUNTIME_CLASS(CFileException)));
        const auto* file = static_cast<CFileException*>(e.Get());
        EXPECT_EQ(CFileException::sharingViolation, file->m_cause);
        EXPECT_EQ(32, file->m_lOsError);
        EXPECT_STREQ("C:\\data\\car.zcf", file->m_strFileName);
    }
    try {
        AfxThrowMemoryException();
    } catch (CException* caught) {
        CExceptionGuard e(caught);
        EXPECT_TRUE(e->IsKindOf(RUNTIME_CLASS(CMemoryException)));
        EXPECT_FALSE(e->IsKindOf(RUNTIME_CLASS(CFileException)));
    }
}

TEST(CException, ReportsItsTextThroughTheHook) {
    g_reports.clear();
    CException::SetReportHook(&RecordReport);
    CNotSupportedException notSupported;
    EXPECT_EQ(1, notSupported.ReportError());
    CResourceException resource;
    EXPECT_EQ(0x31, resource.ReportError(0x30));
    CCountedException withoutText;
    withoutText.ReportError();
    CString::SetStringLoader([](UINT id, CString& text) -> BOOL {
        text = "Text 77";
        return id == 77;
    });
    withoutText.ReportError(0, 77);
    CString::SetStringLoader(nullptr);
    CException::SetReportHook(nullptr);
    EXPECT_EQ((std::vector<std::string>{"An unsupported operation was attempted.",
                                        "A required resource was unavailable.",
                                        "No error message is available.", "Text 77"}),
              g_reports);
}

TEST(CException, CutsItsMessageToTheBuffer) {
    CFileException error(CFileException::fileNotFound, 2, "car.zcf");
    char buffer[8];
    EXPECT_TRUE(error.GetErrorMessage(buffer, sizeof buffer));
    EXPECT_STREQ("car.zcf", buffer);
    char large[200];
    UINT help = 9;
    EXPECT_TRUE(error.GetErrorMessage(large, sizeof large, &help));
    EXPECT_EQ(0u, help);
    EXPECT_NE(nullptr, std::strstr(large, "car.zcf"));
    EXPECT_FALSE(error.GetErrorMessage(large, 0));
}

TEST(CFileException, MapsSystemErrorsToCauses) {
    const struct {
        const char* name;
        LONG osError;
        int cause;
    } rows[] = {
        {"no error", 0, CFileException::none},
        {"file not found", 2, CFileException::fileNotFound},
        {"path not found", 3, CFileException::badPath},
        {"too many open files", 4, CFileException::tooManyOpenFiles},
        {"access denied", 5, CFileException::accessDenied},
        {"invalid handle", 6, CFileException::fileNotFound},
        {"sharing violation", 32, CFileException::sharingViolation},
        {"lock violation", 33, CFileException::lockViolation},
        {"end of file", 38, CFileException::endOfFile},
        {"disk full", 112, CFileException::diskFull},
        {"invalid name", 123, CFileException::badPath},
        {"negative seek", 131, CFileException::badSeek},
        {"directory not empty", 145, CFileException::removeCurrentDir},
        {"already exists", 183, CFileException::accessDenied},
        {"invalid parameter is not in the table", 87, CFileException::genericException},
        {"unknown code", 12345, CFileException::genericException},
    };

    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(row.cause, CFileException::OsErrorToException(row.osError));
    }
}

TEST(CFileException, MapsErrnoToCauses) {
    const struct {
        const char* name;
        int errnoValue;
        int cause;
    } rows[] = {
        {"none", 0, CFileException::none},
        {"no entry", ENOENT, CFileException::fileNotFound},
        {"permission", EACCES, CFileException::accessDenied},
        {"read-only", EROFS, CFileException::accessDenied},
        {"not a directory on the way", ENOTDIR, CFileException::badPath},
        {"name too long", ENAMETOOLONG, CFileException::badPath},
        {"held by another opener", EWOULDBLOCK, CFileException::sharingViolation},
        {"too many files", EMFILE, CFileException::tooManyOpenFiles},
        {"disk full", ENOSPC, CFileException::diskFull},
        {"bad descriptor", EBADF, CFileException::invalidFile},
        {"input/output", EIO, CFileException::hardIO},
        {"other", EDOM, CFileException::genericException},
    };

    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(row.cause, CFileException::ErrnoToException(row.errnoValue));
    }
}
