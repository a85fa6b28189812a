#include "classlib/core/CFile.h"

#include "TempFolder.h"
#include "classlib/core/CExceptionGuard.h"

#include <cstring>
#include <string>

#include <gtest/gtest.h>

namespace {

void WriteFile(const std::string& path, const std::string& bytes) {
    CFile file;
    ASSERT_TRUE(file.Open(path.c_str(), CFile::modeCreate | CFile::modeWrite));
    file.Write(bytes.data(), static_cast<UINT>(bytes.size()));
    file.Close();
}

std::string ReadFile(const std::string& path) {
    CFile file;
    if (!file.Open(path.c_str(), CFile::modeRead)) {
        return "<cannot open>";
    }
    std::string bytes(file.GetLength(), '\0');
    const UINT got = file.Read(&bytes[0], static_cast<UINT>(bytes.size()));
    bytes.resize(got);
    return bytes;
}

// The cause of the file exception a call throws; -1 when it throws none.
template <class Call>
int CauseOf(Call call) {
    try {
        call();
    } catch (CException* caught) {
        CExceptionGuard e(caught);
        if (!e->IsKindOf(RUNTIME_CLASS(CFileException))) {
            return -2;
        }
        return static_cast<CFileException*>(e.Get())->m_cause;
    }
    return -1;
}

}  // namespace

TEST(CFile, ReportsWhyAFileCannotBeOpened) {
    TempFolder folder;
    WriteFile(folder.File("held.zcf"), "data");
    CFile holder;
    ASSERT_TRUE(holder.Open(folder.File("held.zcf").c_str(), CFile::modeRead | CFile::shareExclusive));

    const struct {
        const char* name;
        std::string path;
        UINT flags;
        int cause;
    } rows[] = {
        {"missing file", folder.File("missing.zcf"), CFile::modeRead, CFileException::fileNotFound},
        {"missing folder", folder.File("no_such_folder/car.zcf"), CFile::modeRead, CFileException::badPath},
        {"missing folder on create", folder.File("no_such_folder/car.zcf"),
         CFile::modeCreate | CFile::modeWrite, CFileException::badPath},
        {"file held exclusively, read", folder.File("held.zcf"), CFile::modeRead | CFile::shareDenyNone,
         CFileException::sharingViolation},
        {"file held exclusively, create", folder.File("held.zcf"),
         CFile::modeCreate | CFile::modeWrite | CFile::shareDenyWrite, CFileException::sharingViolation},
    };

    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        CFile file;
        CFileException error;
        EXPECT_FALSE(file.Open(row.path.c_str(), row.flags, &error));
        EXPECT_EQ(row.cause, error.m_cause);
        EXPECT_NE(-1, error.m_lOsError);
        EXPECT_STREQ(row.path.c_str(), error.m_strFileName);
        EXPECT_FALSE(file.IsOpen());
    }
    holder.Close();
    // The refused create did not empty the file it could not have.
    EXPECT_EQ("data", ReadFile(folder.File("held.zcf")));
}

TEST(CFile, LetsReadersShareAFileThatDeniesWriters) {
    TempFolder folder;
    const std::string path = folder.File("update.zfu");
    WriteFile(path, "firmware");
    CFile first;
    CFile second;
    ASSERT_TRUE(first.Open(path.c_str(), CFile::modeRead | CFile::shareDenyWrite));
    EXPECT_TRUE(second.Open(path.c_str(), CFile::modeRead | CFile::shareDenyWrite));
    second.Close();

    CFile writer;
    CFileException error;
    EXPECT_FALSE(writer.Open(path.c_str(), CFile::modeWrite | CFile::shareDenyWrite, &error));
    EXPECT_EQ(CFileException::sharingViolation, error.m_cause);
    first.Close();
    EXPECT_TRUE(writer.Open(path.c_str(), CFile::modeWrite | CFile::shareDenyWrite));
}

TEST(CFile, ReleasesTheFileWhenDestroyed) {
    TempFolder folder;
    const std::string path = folder.File("log.txt");
    {
        CFile file(path.c_str(), CFile::modeCreate | CFile::modeWrite);
        file.Write("x", 1);
    }
    CFile again;
    EXPECT_TRUE(again.Open(path.c_str(), CFile::modeRead | CFile::shareExclusive));
}

TEST(CFile, ConstructorThrowsWhatOpenWouldReport) {
    TempFolder folder;
    EXPECT_EQ(CFileException::fileNotFound,
              CauseOf([&] { CFile file(folder.File("none").c_str(), CFile::modeRead); }));
}

TEST(CFile, ReadsWritesSeeksAndResizes) {
    TempFolder folder;
    const std::string path = folder.File("car.zcf");
    CFile file;
    ASSERT_TRUE(file.Open(path.c_str(), CFile::modeCreate | CFile::modeReadWrite | CFile::shareDenyWrite));
    file.Write("0123456789", 10);
    EXPECT_EQ(10u, file.GetLength());
    EXPECT_EQ(10u, file.GetPosition());
    EXPECT_EQ(4, file.Seek(4, CFile::begin));
    char buffer[16] = {};
    EXPECT_EQ(3u, file.Read(buffer, 3));
    EXPECT_STREQ("456", buffer);
    EXPECT_EQ(5, file.Seek(-2, CFile::current));
    EXPECT_EQ(8, file.Seek(-2, CFile::end));
    EXPECT_EQ(2u, file.Read(buffer, sizeof buffer));
    EXPECT_EQ(0u, file.Read(buffer, sizeof buffer));

    file.SetLength(6);
    EXPECT_EQ(6u, file.GetLength());
    EXPECT_EQ(6u, file.GetPosition());
    file.SetLength(8);
    file.SeekToBegin();
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(8u, file.Read(buffer, sizeof buffer));
    EXPECT_EQ(0, std::memcmp(buffer, "012345\0\0", 8));
    EXPECT_EQ(8u, file.SeekToEnd());
    file.Flush();

    EXPECT_EQ(CFileException::badSeek, CauseOf([&] { file.Seek(-1, CFile::begin); }));
    EXPECT_EQ(8u, file.GetPosition());
    file.Close();
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(CFileException::invalidFile, CauseOf([&] { file.Read(buffer, 1); }));
}

TEST(CFile, KeepsOrEmptiesAnExistingFileOnCreate) {
    TempFolder folder;
    const std::string path = folder.File("interrupted.log");
    WriteFile(path, "first\n");
    {
        CFile file;
        ASSERT_TRUE(file.Open(path.c_str(), CFile::modeCreate | CFile::modeNoTruncate | CFile::modeWrite |
                                                CFile::shareDenyWrite));
        file.SeekToEnd();
        file.Write("second\n", 7);
    }
    EXPECT_EQ("first\nsecond\n", ReadFile(path));
    WriteFile(path, "new");
    EXPECT_EQ("new", ReadFile(path));
}

TEST(CFile, RemovesAndRenamesFiles) {
    TempFolder folder;
    const std::string a = folder.File("a.tmp");
    const std::string b = folder.File("b.tmp");
    WriteFile(a, "a");
    WriteFile(b, "b");
    // A rename never replaces a file.
    EXPECT_EQ(CFileException::accessDenied, CauseOf([&] { CFile::Rename(a.c_str(), b.c_str()); }));
    EXPECT_EQ(-1, CauseOf([&] { CFile::Remove(b.c_str()); }));
    EXPECT_EQ(-1, CauseOf([&] { CFile::Rename(a.c_str(), b.c_str()); }));
    EXPECT_EQ("a", ReadFile(b));
    EXPECT_EQ(CFileException::fileNotFound, CauseOf([&] { CFile::Remove(a.c_str()); }));
    EXPECT_EQ(CFileException::fileNotFound, CauseOf([&] { CFile::Rename(a.c_str(), b.c_str()); }));
}

TEST(CFile, RefusesFlagsNoSystemCanHonour) {
    TempFolder folder;
    CFile file;
    CFileException error;
    EXPECT_FALSE(file.Open(folder.File("x").c_str(), CFile::modeWrite | CFile::modeReadWrite, &error));
    EXPECT_EQ(CFileException::genericException, error.m_cause);
    EXPECT_FALSE(file.Open("", CFile::modeRead, &error));
    EXPECT_EQ(CFileException::genericException, error.m_cause);
}

TEST(CFile, NamesItsFile) {
    TempFolder folder;
    const std::string path = folder.File("car.zcf");
    WriteFile(path, "");
    CFile file(path.c_str(), CFile::modeRead);
    EXPECT_STREQ(path.c_str(), file.GetFilePath());
    EXPECT_STREQ("car.zcf", file.GetFileName());
}
