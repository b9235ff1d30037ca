// CFile against real files in the Wine prefix: open failures and their
// causes, sharing, lengths, renames and status.
#include "tests/support/gtest.h"

#include "platform/classlib/file.h"
#include "tests/support/test_files.h"

namespace {

int OpenCause(const std::string& path, UINT flags)
{
    CFile file;
    CFileException error;
    if (file.Open(path.c_str(), flags, &error))
        return CFileException::none;
    return error.m_cause;
}

}  // namespace

TEST(File, OpenFailuresGiveTheirCause)
{
    std::string folder = testfiles::MakeScratchFolder("file");
    EXPECT_EQ(CFileException::fileNotFound, OpenCause(folder + "\\missing.bin", CFile::modeRead));
    EXPECT_EQ(CFileException::badPath, OpenCause(folder + "\\no\\such\\x.bin", CFile::modeRead));
    EXPECT_EQ(CFileException::badPath, OpenCause("", CFile::modeRead));
    try {
        CFile file((folder + "\\missing.bin").c_str(), CFile::modeRead);
        FAIL() << "no exception";
    } catch (CFileException* e) {
        EXPECT_EQ(CFileException::fileNotFound, e->m_cause);
        EXPECT_EQ(ERROR_FILE_NOT_FOUND, e->m_lOsError);
        char message[256];
        EXPECT_TRUE(e->GetErrorMessage(message, sizeof(message)));
        EXPECT_NE(nullptr, strstr(message, "missing.bin"));
        e->Delete();
    }
}

TEST(File, SharingModesAreEnforced)
{
    std::string path = testfiles::MakeScratchFolder("file") + "\\shared.bin";
    CFile writer(path.c_str(), CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive);
    EXPECT_EQ(CFileException::sharingViolation,
              OpenCause(path, CFile::modeRead | CFile::shareDenyNone));
    writer.Close();
    CFile reader(path.c_str(), CFile::modeRead | CFile::shareDenyWrite);
    EXPECT_EQ(CFileException::none, OpenCause(path, CFile::modeRead | CFile::shareDenyNone));
    EXPECT_EQ(CFileException::sharingViolation,
              OpenCause(path, CFile::modeWrite | CFile::shareDenyNone));
}

TEST(File, ReadWriteSeekAndLength)
{
    std::string path = testfiles::MakeScratchFolder("file") + "\\data.bin";
    CFile file(path.c_str(), CFile::modeCreate | CFile::modeReadWrite);
    file.Write("0123456789", 10);
    EXPECT_EQ(10u, file.GetLength());
    EXPECT_EQ(4u, file.Seek(4, CFile::begin));
    char buffer[16] = {};
    EXPECT_EQ(6u, file.Read(buffer, sizeof(buffer)));
    EXPECT_STREQ("456789", buffer);
    EXPECT_EQ(0u, file.Read(buffer, 4));
    file.SetLength(3);
    EXPECT_EQ(3u, file.GetLength());
    EXPECT_EQ(3u, file.SeekToEnd());
    EXPECT_EQ(1u, file.Seek(-2, CFile::current));
    EXPECT_THROW(file.Seek(-5, CFile::current), CFileException*);
    file.Close();

    // modeNoTruncate keeps the content; plain modeCreate empties it.
    CFile kept(path.c_str(), CFile::modeCreate | CFile::modeNoTruncate | CFile::modeRead);
    EXPECT_EQ(3u, kept.GetLength());
    kept.Close();
    CFile emptied(path.c_str(), CFile::modeCreate | CFile::modeWrite);
    EXPECT_EQ(0u, emptied.GetLength());
}

TEST(File, WritingAReadOnlyHandleThrows)
{
    std::string path = testfiles::MakeScratchFolder("file") + "\\ro.bin";
    ASSERT_TRUE(testfiles::WriteFileBytes(path, "abc"));
    CFile file(path.c_str(), CFile::modeRead);
    try {
        file.Write("x", 1);
        FAIL() << "no exception";
    } catch (CFileException* e) {
        EXPECT_EQ(CFileException::accessDenied, e->m_cause);
        e->Delete();
    }
}

TEST(File, RenameRemoveAndStatus)
{
    std::string folder = testfiles::MakeScratchFolder("file");
    std::string from = folder + "\\图纸.dwg", to = folder + "\\renamed.dwg";
    ASSERT_TRUE(testfiles::WriteFileBytes(from, "12345"));
    CFileStatus status;
    ASSERT_TRUE(CFile::GetStatus(from.c_str(), status));
    EXPECT_EQ(5u, status.m_size);
    LONGLONG age = (CTime::GetCurrentTime() - status.m_mtime).GetTotalSeconds();
    EXPECT_LE(-5, age);
    EXPECT_GE(60, age);
    {
        CFile file(from.c_str(), CFile::modeRead);
        EXPECT_STREQ("图纸.dwg", (LPCSTR)file.GetFileName());
        CFileStatus open;
        ASSERT_TRUE(file.GetStatus(open));
        EXPECT_EQ(5u, open.m_size);
    }
    CFile::Rename(from.c_str(), to.c_str());
    EXPECT_FALSE(CFile::GetStatus(from.c_str(), status));
    EXPECT_THROW(CFile::Rename(from.c_str(), to.c_str()), CFileException*);
    CFile::Remove(to.c_str());
    try {
        CFile::Remove(to.c_str());
        FAIL() << "no exception";
    } catch (CFileException* e) {
        EXPECT_EQ(CFileException::fileNotFound, e->m_cause);
        e->Delete();
    }
}
