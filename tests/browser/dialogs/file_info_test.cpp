// The file information sheet on a real file and a filled drawing
// information record, driven page by page through the sheet.
#include "tests/support/gtest.h"

#include <string.h>

#include <string>
#include <vector>

#include <windows.h>
#include <commctrl.h>

#include "browser/dialogs/file_info_basic.h"
#include "browser/dialogs/file_info_info.h"
#include "core/locale_info.h"
#include "core/size_text.h"
#include "resources/resource.h"
#include "tests/support/dialog_script.h"
#include "tests/support/test_files.h"

using testwin::DialogScript;
using testwin::GetText;
using testwin::SavePictureIfAsked;

namespace {

std::string FileTimeText(const FILETIME& time)
{
    return (const char*)CLocaleInfo::Instance().FormatFileTime(time);
}

bool Checked(HWND page, int id)
{
    return SendDlgItemMessageA(page, id, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

// Shows the page at that index and returns its window.
HWND ShowPage(HWND sheet, int index)
{
    SendMessageA(sheet, PSM_SETCURSEL, index, 0);
    return (HWND)SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0);
}

class FileInfoSheetTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_folder = testfiles::MakeScratchFolder("file-info");
        m_path = m_folder + "\\site plan with a long name.dxf";
        ASSERT_TRUE(testfiles::WriteFileBytes(m_path, std::string(1234567, 'x')));
        ASSERT_TRUE(SetFileAttributesA(m_path.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));

        m_drawing.setCount = 9;
        m_drawing.title = "总平面图";
        m_drawing.subject = "Site";
        m_drawing.author = "王工";
        m_drawing.property5 = "第一行\r\n第二行";
        m_drawing.property0 = "http://plans.example/";
        m_drawing.property6 = "李工";
        m_drawing.keywords = "总图;场地";
        m_drawing.editingHours = 2;
        m_drawing.editingMinutes = 5;
        m_drawing.created = CTime(2021, 3, 4, 5, 6, 7);
        m_drawing.modified = CTime(2022, 8, 9, 10, 11, 12);
        const char* custom[] = {"Client = Pellmoor", "Job=42", "x=hidden after a one-letter name", "Late=1"};
        for (const char* property : custom)
            m_drawing.custom[m_drawing.customCount++] = property;
    }

    std::string m_folder;
    std::string m_path;
    DRAWINGINFO m_drawing;
};

TEST_F(FileInfoSheetTest, EveryPageShowsWhatIsKnownOfTheFile)
{
    std::string caption;
    std::vector<std::string> basic, info, summary, user;
    std::vector<bool> checks;
    DialogScript answers({[&](HWND sheet) {
        caption = testwin::WindowText(sheet);
        HWND page = ShowPage(sheet, 0);
        for (int id : {IDC_BASIC_NAME, IDC_BASIC_TYPE, IDC_BASIC_LOCATION, IDC_BASIC_SIZE, IDC_BASIC_DOS_NAME,
                       IDC_BASIC_CREATED, IDC_BASIC_MODIFIED, IDC_BASIC_ACCESSED})
            basic.push_back(GetText(page, id));
        for (int id : {IDC_BASIC_READ_ONLY, IDC_BASIC_HIDDEN, IDC_BASIC_ARCHIVE, IDC_BASIC_SYSTEM})
            checks.push_back(Checked(page, id));
        SavePictureIfAsked(sheet, "file_info_basic.bmp");
        page = ShowPage(sheet, 1);
        for (int id : {IDC_INFO_CREATED, IDC_INFO_UPDATED, IDC_INFO_LAST_SAVED_BY, IDC_INFO_EDITING_TIME})
            info.push_back(GetText(page, id));
        SavePictureIfAsked(sheet, "file_info_info.bmp");
        page = ShowPage(sheet, 2);
        for (int id : {IDC_SUMMARY_TITLE, IDC_SUMMARY_SUBJECT, IDC_SUMMARY_AUTHOR, IDC_SUMMARY_KEYWORDS,
                       IDC_SUMMARY_COMMENTS, IDC_SUMMARY_HYPERLINK_BASE})
            summary.push_back(GetText(page, id));
        SavePictureIfAsked(sheet, "file_info_summary.bmp");
        page = ShowPage(sheet, 3);
        for (int id : {IDC_USER_NAME_1, IDC_USER_VALUE_1, IDC_USER_NAME_2, IDC_USER_VALUE_2, IDC_USER_NAME_3,
                       IDC_USER_VALUE_3, IDC_USER_NAME_4})
            user.push_back(GetText(page, id));
        SavePictureIfAsked(sheet, "file_info_user.bmp");
        SendMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
    }});
    ASSERT_TRUE(ShowFileProperties(m_path.c_str(), &m_drawing));

    EXPECT_EQ("site plan with a long name.dxf Properties", caption);
    WIN32_FILE_ATTRIBUTE_DATA attributes;
    ASSERT_TRUE(GetFileAttributesExA(m_path.c_str(), GetFileExInfoStandard, &attributes));
    char shortPath[MAX_PATH] = "";
    GetShortPathNameA(m_path.c_str(), shortPath, MAX_PATH);
    std::string shortName = strrchr(shortPath, '\\') + 1;
    CString sizeText;
    FormatFileSize(1234567, sizeText);
    SHFILEINFOA shell = {};
    SHGetFileInfoA(m_path.c_str(), 0, &shell, sizeof(shell), SHGFI_TYPENAME);
    std::vector<std::string> expectedBasic = {"site plan with a long name.dxf",
                                              shell.szTypeName,
                                              m_folder + "\\",
                                              std::string(sizeText) + " (1,234,567 Bytes)",
                                              shortName,
                                              FileTimeText(attributes.ftCreationTime),
                                              FileTimeText(attributes.ftLastWriteTime),
                                              FileTimeText(attributes.ftLastAccessTime)};
    EXPECT_EQ(expectedBasic, basic);
    EXPECT_EQ((std::vector<bool>{false, true, true, false}), checks);

    COleDateTime created(2021, 3, 4, 5, 6, 7);
    COleDateTime updated(2022, 8, 9, 10, 11, 12);
    std::vector<std::string> expectedInfo = {(const char*)CLocaleInfo::Instance().FormatDateTime(created),
                                             (const char*)CLocaleInfo::Instance().FormatDateTime(updated),
                                             "李工", "2 小时, 5 分钟"};
    EXPECT_EQ(expectedInfo, info);
    std::vector<std::string> expectedSummary = {
        "总平面图", "Site", "王工", "总图;场地", "第一行\r\n第二行", "http://plans.example/"};
    EXPECT_EQ(expectedSummary, summary);
    // The one-letter name ends the list: "Late" is not shown either.
    std::vector<std::string> expectedUser = {"Client", "Pellmoor", "Job", "42", "", "", ""};
    EXPECT_EQ(expectedUser, user);
}

TEST_F(FileInfoSheetTest, CancelAndMissingFilesAreShownEmpty)
{
    std::string dosName;
    std::vector<bool> checks;
    DialogScript answers({[&](HWND sheet) {
        HWND page = ShowPage(sheet, 0);
        dosName = GetText(page, IDC_BASIC_DOS_NAME);
        for (int id : {IDC_BASIC_READ_ONLY, IDC_BASIC_HIDDEN, IDC_BASIC_ARCHIVE, IDC_BASIC_SYSTEM})
            checks.push_back(Checked(page, id));
        SendMessageA(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    }});
    EXPECT_FALSE(ShowFileProperties((m_folder + "\\gone.dwg").c_str(), nullptr));
    EXPECT_EQ("", dosName);
    EXPECT_EQ((std::vector<bool>{false, false, false, false}), checks);
}

TEST_F(FileInfoSheetTest, FilesBeyondFourGigabytesShowTheirWholeSize)
{
    std::string path = m_folder + "\\huge.dwg";
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    LARGE_INTEGER end;
    end.QuadPart = 5000000000LL;
    bool sized = SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && SetEndOfFile(file);
    CloseHandle(file);
    ASSERT_TRUE(sized);
    std::string size;
    DialogScript answers({[&](HWND sheet) {
        size = GetText(ShowPage(sheet, 0), IDC_BASIC_SIZE);
        SendMessageA(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    }});
    ShowFileProperties(path.c_str(), &m_drawing);
    DeleteFileA(path.c_str());
    CString largeText;
    FormatFileSize(5000000000LL, largeText);
    EXPECT_EQ(std::string(largeText) + " (5,000,000,000 Bytes)", size);
}

TEST(FileInfoTextTest, SizesAndDates)
{
    CString smallText;
    FormatFileSize(999, smallText);
    EXPECT_EQ(std::string(smallText) + " (999 Bytes)", std::string(CFileInfoBasic::FormatSizeLine(999)));
    EXPECT_EQ(COleDateTime::invalid, CFileInfoInfo::ToLocalDateTime(-(1LL << 60)).GetStatus());
    EXPECT_EQ(COleDateTime::valid, CFileInfoInfo::ToLocalDateTime(1600000000).GetStatus());
    EXPECT_STREQ("45 分钟", CFileInfoInfo::EditingTimeText(0, 45));
}

}  // namespace
