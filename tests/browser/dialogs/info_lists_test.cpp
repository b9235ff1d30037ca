// The shortcut list and the EXIF viewer, opened as real dialogs; the EXIF
// photos are written by ImageMagick and exiftool.
#include "tests/support/gtest.h"

#include <string>
#include <utility>
#include <vector>

#include <windows.h>

#include "browser/dialogs/accelerator_dlg.h"
#include "browser/dialogs/exif_dlg.h"
#include "resources/resource.h"
#include "tests/support/dialog_script.h"
#include "tests/support/test_files.h"
#include "tests/support/unix_tools.h"

using testwin::DialogScript;
using testwin::SavePictureIfAsked;

namespace {

typedef std::vector<std::pair<std::string, std::string>> Rows;

Rows ListRows(HWND list, int columns)
{
    Rows rows;
    int count = (int)SendMessageA(list, LVM_GETITEMCOUNT, 0, 0);
    for (int row = 0; row < count; ++row) {
        std::string texts[3];
        for (int column = 0; column < columns; ++column) {
            char text[256] = "";
            LVITEMA item = {};
            item.iSubItem = column;
            item.pszText = text;
            item.cchTextMax = sizeof(text);
            SendMessageA(list, LVM_GETITEMTEXTA, row, (LPARAM)&item);
            texts[column] = text;
        }
        rows.push_back({texts[0], columns == 3 ? texts[1] + "|" + texts[2] : texts[1]});
    }
    return rows;
}

std::string ColumnHeading(HWND list, int column, int* width)
{
    char text[64] = "";
    LVCOLUMNA item = {};
    item.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    item.pszText = text;
    item.cchTextMax = sizeof(text);
    SendMessageA(list, LVM_GETCOLUMNA, column, (LPARAM)&item);
    *width = (item.fmt & LVCFMT_JUSTIFYMASK) == LVCFMT_LEFT ? item.cx : -1;
    return text;
}

// Each channel of the window colour darkened by 5.
COLORREF ExpectedBackground()
{
    COLORREF window = GetSysColor(COLOR_WINDOW);
    auto down = [](int channel) { return channel <= 5 ? 0 : channel - 5; };
    return RGB(down(GetRValue(window)), down(GetGValue(window)), down(GetBValue(window)));
}

TEST(AcceleratorDlgTest, ListsEveryShortcutBySectionAndFillsTheDialog)
{
    Rows rows;
    std::vector<std::pair<std::string, int>> headings;
    DWORD extendedStyle = 0;
    COLORREF background = 0;
    RECT listAfterResize = {};
    RECT clientAfterResize = {};
    DialogScript answers({[&](HWND dialog) {
        HWND list = GetDlgItem(dialog, IDC_ACCELERATOR_LIST);
        rows = ListRows(list, 3);
        for (int column = 0; column < 3; ++column) {
            int width = 0;
            std::string heading = ColumnHeading(list, column, &width);
            headings.push_back({heading, width});
        }
        extendedStyle = (DWORD)SendMessageA(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0);
        background = (COLORREF)SendMessageA(list, LVM_GETBKCOLOR, 0, 0);
        SavePictureIfAsked(dialog, "shortcut_list.bmp");
        SetWindowPos(dialog, nullptr, 0, 0, 500, 420, SWP_NOMOVE | SWP_NOZORDER);
        GetClientRect(dialog, &clientAfterResize);
        GetWindowRect(list, &listAfterResize);
        MapWindowPoints(nullptr, dialog, (POINT*)&listAfterResize, 2);
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    }});
    CAcceleratorDlg dialog;
    ASSERT_EQ(IDCANCEL, dialog.DoModal());

    ASSERT_EQ(65u, rows.size());
    EXPECT_EQ(Rows::value_type("浏览窗口", "|"), rows[0]);
    EXPECT_EQ(Rows::value_type("", "F8|缩略图模式显示文件列表"), rows[1]);
    EXPECT_EQ(Rows::value_type("", "Ctrl+V|粘贴剪贴板内容到当前文件夹"), rows[12]);
    EXPECT_EQ(Rows::value_type("预览窗口", "|"), rows[17]);
    EXPECT_EQ(Rows::value_type("", "Alt+R|向右旋转90度"), rows[34]);
    EXPECT_EQ(Rows::value_type("观察窗口", "|"), rows[36]);
    EXPECT_EQ(Rows::value_type("", "F6|得到JPEG文件的EXIF信息"), rows[64]);
    std::vector<std::pair<std::string, int>> expected = {{"作用窗口", 115}, {"键", 120}, {"功能", 500}};
    EXPECT_EQ(expected, headings);
    EXPECT_EQ(0x430u, extendedStyle & 0x430u);
    EXPECT_EQ(ExpectedBackground(), background);
    RECT inset = {8, 8, clientAfterResize.right - 8, clientAfterResize.bottom - 8};
    EXPECT_TRUE(EqualRect(&inset, &listAfterResize));
}

class ExifDlgTest : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (!codectest::UnixProgramExists("/usr/bin/exiftool"))
            return;
        s_folder = testfiles::MakeScratchFolder("exif-photos");
        std::string script = testfiles::SourceDir() + "/tests/browser/dialogs/make_exif_photos.sh";
        s_ready = codectest::RunUnixProgram("/bin/sh " + script + " " + codectest::UnixPath(s_folder)) == 0;
    }

    void SetUp() override
    {
        if (!s_ready)
            GTEST_SKIP() << "exiftool and ImageMagick could not write the photos";
    }

    static std::string Path(const char* name) { return s_folder + "\\" + name; }

    // The rows the dialog shows for the file, or nothing when it is not shown.
    static Rows ShownRows(const std::string& path, const char* picture = nullptr)
    {
        CExifDlg dialog;
        dialog.m_path = path.c_str();
        Rows rows;
        if (!dialog.ReadExifInfo())
            return rows;
        DialogScript answers({[&](HWND window) {
            rows = ListRows(GetDlgItem(window, IDC_EXIF_LIST), 2);
            if (picture != nullptr)
                SavePictureIfAsked(window, picture);
            PostMessageA(window, WM_COMMAND, IDOK, 0);
        }});
        EXPECT_EQ(IDOK, dialog.DoModal());
        return rows;
    }

    static std::string s_folder;
    static bool s_ready;
};

std::string ExifDlgTest::s_folder;
bool ExifDlgTest::s_ready = false;

TEST_F(ExifDlgTest, ShowsWhatTheCameraWroteInOrder)
{
    Rows expected = {{"相机制造", "佳能"},
                     {"相机型号", "EOS 数码 5"},
                     {"日期/时间", "2024:05:06 07:08:09"},
                     {"Exif 版本", "0232"},
                     {"宽 x 高", "64 x 48"},
                     {"X 分辨率 (dpi)", "300.0"},
                     {"Y 分辨率 (dpi)", "300.0"},
                     {"方向", "6"},
                     {"是否用闪光灯", "是"},
                     {"焦距", "7.0mm"},
                     {"暴光时间", "0.500 s (1/2)"},
                     {"光圈", "f/2.8"},
                     {"拍摄距离", "2.50米"},
                     {"ISO (感光度)", "200"},
                     {"暴光补偿", "0.33"},
                     {"白平衡", "Cloudy"},
                     {"测光模式", "偏重中央"},
                     {"暴光模式", "光圈优先"},
                     {"编码方式", "Baseline"}};
    EXPECT_EQ(expected, ShownRows(Path("photo.jpg"), "exif.bmp"));
}

TEST_F(ExifDlgTest, GreyProgressivePhotoShowsOnlyItsRows)
{
    Rows rows = ShownRows(Path("grey.jpg"));
    Rows expected = {{"Exif 版本", "0232"},      {"宽 x 高", "40 x 30"},
                     {"X 分辨率 (dpi)", "1.0"},  // exiftool writes 1 pixel per unit
                     {"Y 分辨率 (dpi)", "1.0"},  {"Color/bw", "Black and white"},
                     {"是否用闪光灯", "否"},     {"暴光时间", "0.600 s"},
                     {"编码方式", "Progressive"}};
    EXPECT_EQ(expected, rows);
}

TEST_F(ExifDlgTest, NoOrDamagedExifIsRefusedCleanly)
{
    CExifDlg missing;
    missing.m_path = Path("none.jpg").c_str();
    EXPECT_FALSE(missing.ReadExifInfo());
    EXPECT_TRUE(ShownRows(Path("plain.jpg")).empty());

    std::string photo;
    ASSERT_TRUE(testfiles::ReadFileBytes(Path("photo.jpg"), photo));
    size_t exif = photo.find(std::string("Exif\0\0", 6));
    ASSERT_NE(std::string::npos, exif);
    const size_t tiff = exif + 6;
    std::vector<std::string> damaged;
    std::string badOffset = photo;  // the first directory far outside the block
    badOffset.replace(tiff + 4, 4, "\xF0\xFF\xFF\x7F", 4);
    damaged.push_back(badOffset);
    std::string badOrder = photo;
    badOrder.replace(tiff, 2, "XY");
    damaged.push_back(badOrder);
    damaged.push_back(photo.substr(0, tiff + 40));  // cut inside the EXIF block
    for (size_t at = tiff + 8; at < tiff + 200 && at < photo.size(); at += 7) {
        std::string flipped = photo;
        flipped[at] = (char)(flipped[at] ^ 0xA5);
        damaged.push_back(flipped);
    }
    for (size_t i = 0; i < damaged.size(); ++i) {
        std::string path = Path("damaged.jpg");
        ASSERT_TRUE(testfiles::WriteFileBytes(path, damaged[i]));
        CExifDlg dialog;
        dialog.m_path = path.c_str();
        if (!dialog.ReadExifInfo())
            continue;
        Rows rows;
        for (const auto& row : MakeExifRows(dialog.m_jpeg.GetExifRecord()))
            rows.push_back({(const char*)row.first, (const char*)row.second});
        ASSERT_FALSE(rows.empty());
        EXPECT_EQ("编码方式", rows.back().first);
    }
    for (size_t i = 0; i < 3; ++i) {
        ASSERT_TRUE(testfiles::WriteFileBytes(Path("damaged.jpg"), damaged[i]));
        CExifDlg dialog;
        dialog.m_path = Path("damaged.jpg").c_str();
        EXPECT_FALSE(dialog.ReadExifInfo()) << i;
    }
}

TEST(ExifRowsTest, DerivedValuesStayInRangeOnOddRecords)
{
    CxExifRecord record = {};
    record.focalLength = 7.0f;
    record.ccdWidth = 5.27f;
    record.exposureTime = 1e-30f;  // from a damaged block
    record.flashUsed = -1;
    record.isColor = 1;
    record.process = 196;
    Rows rows;
    for (const auto& row : MakeExifRows(record))
        rows.push_back({(const char*)row.first, (const char*)row.second});
    Rows expected = {{"宽 x 高", "0 x 0"},
                     {"焦距", "7.0mm  (35mm 等价的 : 48mm)"},
                     {"CCD 宽度", "5.27mm"},
                     {"暴光时间", "0.000 s (1/2147483647)"},
                     {"编码方式", "Unknown"}};
    EXPECT_EQ(expected, rows);
}

}  // namespace
