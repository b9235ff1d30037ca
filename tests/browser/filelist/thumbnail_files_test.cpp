#include "tests/support/gtest.h"

#include <stdlib.h>

#include <string>
#include <vector>

#include <windows.h>

#include "browser/filelist/thumbnail_files.h"
#include "graphics/kbmp.h"
#include "resources/browser_dialogs_ids.h"
#include "tests/support/dialog_script.h"
#include "tests/support/test_files.h"
#include "tests/support/unix_tools.h"

namespace {

const char kConvert[] = "/usr/bin/convert";
// ImageMagick's built-in picture "rose:" is 70 x 46.
const int kWidth = 70;
const int kHeight = 46;

// A picture made by ImageMagick, held as the list holds a thumbnail.
class ThumbnailFiles : public testing::Test {
protected:
    void SetUp() override
    {
        m_folder = testfiles::MakeScratchFolder("thumbs");
        std::string source = m_folder + "\\source.bmp";
        ASSERT_EQ(0, codectest::RunUnixProgram(std::string(kConvert) +
                                               " rose: -type TrueColor BMP3:" + codectest::UnixPath(source)));
        ASSERT_TRUE(testfiles::ReadFileBytes(source, m_sourceBytes));
        BYTE* block = new BYTE[m_sourceBytes.size()];
        memcpy(block, m_sourceBytes.data(), m_sourceBytes.size());
        ASSERT_TRUE(m_thumbnail.Attach(block, false));
        ASSERT_TRUE(m_thumbnail.Check());
        ASSERT_TRUE(ReadPixels(source, m_sourceRgb));
    }

    ThumbnailFileRow Row(const char* path, bool selected = false)
    {
        ThumbnailFileRow row;
        row.sourcePath = path;
        row.thumbnail = &m_thumbnail;
        row.selected = selected;
        return row;
    }

    bool Write(const std::vector<ThumbnailFileRow>& rows, const ThumbnailSaveOptions& options)
    {
        m_progress.clear();
        return WriteThumbnailFiles(
            rows, options, [this](int low, int high, int position) { m_progress.push_back(position); });
    }

    // The file's pixels as ImageMagick reads them; false unless the file is
    // a picture of the thumbnail's size.
    static bool ReadPixels(const std::string& file, std::string& rgb)
    {
        std::string raw = file + ".rgb";
        if (codectest::RunUnixProgram(std::string(kConvert) + " " + codectest::UnixPath(file) +
                                      " -depth 8 rgb:" + codectest::UnixPath(raw)) != 0)
            return false;
        return testfiles::ReadFileBytes(raw, rgb) && DeleteFileA(raw.c_str()) &&
               rgb.size() == static_cast<size_t>(kWidth * kHeight * 3);
    }

    // The mean difference of the file's pixels from the thumbnail's, or -1.
    double MeanDifference(const std::string& file)
    {
        std::string rgb;
        if (!ReadPixels(file, rgb))
            return -1;
        double total = 0;
        for (size_t index = 0; index < rgb.size(); ++index)
            total += abs(static_cast<BYTE>(rgb[index]) - static_cast<BYTE>(m_sourceRgb[index]));
        return total / rgb.size();
    }

    std::string m_folder;
    std::string m_sourceBytes;
    std::string m_sourceRgb;
    KBMP m_thumbnail;
    std::vector<int> m_progress;
};

TEST_F(ThumbnailFiles, EachFormatReadsBackAsTheThumbnailInAFolderMadeOnRequest)
{
    ThumbnailFileRow folderRow = Row("Z:\\drawings\\parts");
    folderRow.folder = true;
    ThumbnailFileRow noThumbnail = Row("Z:\\drawings\\empty.dwg");
    noThumbnail.thumbnail = nullptr;
    std::vector<ThumbnailFileRow> rows = {folderRow, Row("Z:\\drawings\\图纸.dwg"), noThumbnail};

    const char* extensions[] = {".bmp", ".jpg", ".gif"};
    const double tolerances[] = {0, 8, 8};
    for (int format = ThumbnailFileBmp; format <= ThumbnailFileGif; ++format) {
        ThumbnailSaveOptions options;
        options.format = format;
        options.folder = (m_folder + "\\out" + std::to_string(format) + "\\deeper").c_str();
        std::string question;
        testwin::DialogScript answer({[&](HWND box) {
            question = testwin::GetText(box, 0xFFFF);
            SendMessageA(box, WM_COMMAND, IDOK, 0);
        }});
        ASSERT_TRUE(Write(rows, options));
        EXPECT_EQ("文件夹不存在,创建吗?", question);
        EXPECT_EQ((std::vector<int>{0, 1, 2, -1}), m_progress);

        std::string folder = std::string(options.folder);
        EXPECT_EQ(std::vector<std::string>{std::string("图纸") + extensions[format]},
                  testfiles::FileNamesIn(folder));
        // The reference reads the picture under a plain name.
        std::string copy = folder + "\\copy" + extensions[format];
        ASSERT_TRUE(CopyFileA((folder + "\\图纸" + extensions[format]).c_str(), copy.c_str(), FALSE));
        double difference = MeanDifference(copy);
        EXPECT_GE(difference, 0) << extensions[format];
        EXPECT_LE(difference, tolerances[format]) << extensions[format];
    }
    std::string bmp;
    ASSERT_TRUE(testfiles::ReadFileBytes(m_folder + "\\out0\\deeper\\图纸.bmp", bmp));
    EXPECT_EQ(m_sourceBytes, bmp);
}

TEST_F(ThumbnailFiles, TakenNamesGetTheNextFreeNumber)
{
    ASSERT_TRUE(testfiles::WriteFileBytes(m_folder + "\\a.jpg", "old a"));
    ASSERT_TRUE(testfiles::WriteFileBytes(m_folder + "\\a_0.jpg", "old a_0"));
    ThumbnailSaveOptions options;
    options.folder = m_folder.c_str();
    options.format = ThumbnailFileJpeg;
    options.existingFiles = ExistingFileNumberedName;
    ASSERT_TRUE(Write({Row("Z:\\x\\a.dwg"), Row("Z:\\y\\a.dxf")}, options));

    EXPECT_EQ((std::vector<std::string>{"a.jpg", "a_0.jpg", "a_1.jpg", "a_2.jpg", "source.bmp"}),
              testfiles::FileNamesIn(m_folder));
    std::string bytes;
    ASSERT_TRUE(testfiles::ReadFileBytes(m_folder + "\\a.jpg", bytes));
    EXPECT_EQ("old a", bytes);
    EXPECT_GE(MeanDifference(m_folder + "\\a_1.jpg"), 0);
}

TEST_F(ThumbnailFiles, AskingKeepsOrReplacesTheExistingFileWhole)
{
    ASSERT_TRUE(testfiles::WriteFileBytes(m_folder + "\\b.gif", "old b"));
    ThumbnailSaveOptions options;
    options.folder = m_folder.c_str();
    options.existingFiles = ExistingFileAsk;

    std::string question;
    {
        testwin::DialogScript answer({[&](HWND box) {
            question = testwin::GetText(box, 0xFFFF);
            SendMessageA(box, WM_COMMAND, IDNO, 0);
        }});
        ASSERT_TRUE(Write({Row("Z:\\b.dwg")}, options));
    }
    EXPECT_EQ("覆盖已存在的文件 :\n\n     " + m_folder + "\\b.gif", question);
    std::string bytes;
    ASSERT_TRUE(testfiles::ReadFileBytes(m_folder + "\\b.gif", bytes));
    EXPECT_EQ("old b", bytes);

    testwin::DialogScript answer({[&](HWND box) { SendMessageA(box, WM_COMMAND, IDYES, 0); }});
    ASSERT_TRUE(Write({Row("Z:\\b.dwg")}, options));
    EXPECT_LE(MeanDifference(m_folder + "\\b.gif"), 8);
}

TEST_F(ThumbnailFiles, AFailedWriteIsToldAndLeavesTheOldFileWhole)
{
    ASSERT_TRUE(testfiles::WriteFileBytes(m_folder + "\\c.jpg", "old c"));
    // Another program holds the old file open and lets nobody replace it.
    HANDLE held = CreateFileA((m_folder + "\\c.jpg").c_str(), GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    ThumbnailFileRow row = Row("Z:\\c.dwg");
    ThumbnailSaveOptions options;
    options.folder = m_folder.c_str();
    options.format = ThumbnailFileJpeg;
    options.existingFiles = ExistingFileOverwrite;

    std::string message;
    testwin::DialogScript answer({[&](HWND box) {
        message = testwin::GetText(box, 0xFFFF);
        SendMessageA(box, WM_COMMAND, IDOK, 0);
    }});
    EXPECT_FALSE(Write({row, Row("Z:\\d.dwg")}, options));
    CloseHandle(held);
    EXPECT_EQ("创建缩略图图像文件失败!\n\n     " + m_folder + "\\c.jpg", message);
    EXPECT_EQ(-1, m_progress.back());
    EXPECT_EQ((std::vector<std::string>{"c.jpg", "source.bmp"}), testfiles::FileNamesIn(m_folder));
    std::string bytes;
    ASSERT_TRUE(testfiles::ReadFileBytes(m_folder + "\\c.jpg", bytes));
    EXPECT_EQ("old c", bytes);
}

TEST_F(ThumbnailFiles, NothingSelectedOrAFolderRefusedWritesNothing)
{
    ThumbnailSaveOptions options;
    options.folder = (m_folder + "\\missing").c_str();
    options.allRows = 0;
    EXPECT_TRUE(Write({Row("Z:\\e.dwg"), Row("Z:\\f.dwg")}, options));
    EXPECT_EQ((std::vector<int>{0, 1, -1}), m_progress);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(options.folder));

    testwin::DialogScript answer({[&](HWND box) { SendMessageA(box, WM_COMMAND, IDCANCEL, 0); }});
    EXPECT_FALSE(Write({Row("Z:\\e.dwg"), Row("Z:\\f.dwg", true)}, options));
    EXPECT_TRUE(answer.Finished());
    EXPECT_EQ(-1, m_progress.back());
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(options.folder));
}

TEST_F(ThumbnailFiles, TheCommandWritesWhatTheDialogChose)
{
    std::string started;
    testwin::DialogScript choose({[&](HWND dialog) {
        started = testwin::GetText(dialog, IDC_THUMBNAIL_FOLDER);
        SendDlgItemMessageA(dialog, IDC_THUMBNAIL_BMP, BM_CLICK, 0, 0);
        SendMessageA(dialog, WM_COMMAND, IDOK, 0);
    }});
    ASSERT_TRUE(AskAndWriteThumbnailFiles(NULL, m_folder.c_str(), {Row("Z:\\g.dwg")}, [](int, int, int) {}));
    EXPECT_EQ(m_folder, started);
    std::string bmp;
    ASSERT_TRUE(testfiles::ReadFileBytes(m_folder + "\\g.bmp", bmp));
    EXPECT_EQ(m_sourceBytes, bmp);
}

}  // namespace
