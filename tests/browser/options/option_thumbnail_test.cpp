// The thumbnail page in a sheet of its own, so that the test can read the
// preview tile's picture: the sliders move each other while the aspect
// ratio is kept, the tile shows the cell at its real size in the shadow or
// the framed look, and OK stores what the sliders show.
#include "tests/support/gtest.h"

#include <functional>
#include <string>

#include "browser/options/option_thumbnail.h"
#include "core/preference.h"
#include "platform/classlib/classlib.h"
#include "resources/browser_options_ids.h"
#include "tests/support/registry_sandbox.h"

namespace {

const COLORREF kBackground = RGB(200, 180, 160);
const COLORREF kFrame = RGB(128, 128, 192);
std::function<void(HWND)> g_script;

void CALLBACK RunScript(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND sheet = FindWindowA("#32770", "缩略图测试");
    if (!sheet)
        return;
    KillTimer(nullptr, timer);
    std::function<void(HWND)> script = std::move(g_script);
    script(sheet);
}

// The colour of a pixel of a 24-bit bottom-up picture, read from its bytes.
COLORREF PixelAt(const CDib& picture, int x, int y)
{
    int stride = (picture.GetWidth() * 3 + 3) & ~3;
    const BYTE* pixel = picture.GetBits() + (picture.GetHeight() - 1 - y) * stride + x * 3;
    return RGB(pixel[2], pixel[1], pixel[0]);
}

std::string TextOf(HWND page, int id)
{
    char text[32] = {};
    GetDlgItemTextA(page, id, text, sizeof(text));
    return text;
}

class OptionThumbnailTest : public testing::Test {
protected:
    void SetUp() override
    {
        Preference.ThumbWidth = 170;
        Preference.ThumbHeight = 130;
        Preference.ThumbBorder = 5;
        Preference.ConstrainProportion = 1;
        Preference.SystemColor = 0;
        Preference.ListCtrlColor = kBackground;
        Preference.ThumbnailColor = kFrame;
        Preference.UpdateColors();
    }

    // Runs a sheet holding only the page; the script gets the page window.
    INT_PTR Run(std::function<void(HWND page)> script)
    {
        CPropertySheet sheet("缩略图测试");
        sheet.m_sheetFlags = PSH_NOAPPLYNOW;
        sheet.AddPage(&m_page);
        g_script = [script](HWND sheet) {
            script((HWND)SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
            SendMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
        };
        SetTimer(nullptr, 0, 20, RunScript);
        return sheet.DoModal();
    }

    static void PressKey(HWND page, int slider, int key)
    {
        SendDlgItemMessageA(page, slider, WM_KEYDOWN, key, 0);
        SendDlgItemMessageA(page, slider, WM_KEYUP, key, 0);
    }
    static int Position(HWND page, int slider) { return (int)SendDlgItemMessageA(page, slider, TBM_GETPOS, 0, 0); }

    RegistrySandbox m_sandbox;
    COptionThumbnail m_page;
};

}  // namespace

TEST_F(OptionThumbnailTest, TheTileShowsTheCellAtItsRealSizeInTheShadowLook)
{
    CRect tileClient;
    std::string border;
    Run([&](HWND page) {
        GetClientRect(GetDlgItem(page, IDC_OPTION_THUMB_PREVIEW), &tileClient);
        border = TextOf(page, IDC_OPTION_THUMB_BORDER_VALUE);
    });
    EXPECT_EQ(250, tileClient.Width());
    EXPECT_EQ(250, tileClient.Height());
    EXPECT_EQ("0", border);
    const CDib& picture = m_page.m_preview.m_picture;
    ASSERT_EQ(250, picture.GetWidth());
    // The cell 170 x 130 is centred at (40, 60)-(210, 190) and drawn 5
    // inside that, outlined 70 lighter than the background.
    EXPECT_EQ(kBackground, PixelAt(picture, 30, 125));
    EXPECT_EQ(kBackground, PixelAt(picture, 125, 50));
    EXPECT_EQ(kFrame, PixelAt(picture, 125, 125));
    EXPECT_EQ(kFrame, PixelAt(picture, 46, 66));
    EXPECT_EQ(RGB(255, 250, 230), PixelAt(picture, 45, 100));
    // The drop shadow under the bottom edge (185) at y 186, 46 darker.
    EXPECT_EQ(RGB(154, 134, 114), PixelAt(picture, 100, 186));
}

TEST_F(OptionThumbnailTest, TheKeptRatioMovesTheOtherSliderWhichClampsToItsRange)
{
    int heightAtWidest = 0, heightAtNarrowest = 0;
    std::string heightText;
    Run([&](HWND page) {
        PressKey(page, IDC_OPTION_THUMB_WIDTH, VK_END);
        heightAtWidest = Position(page, IDC_OPTION_THUMB_HEIGHT);
        heightText = TextOf(page, IDC_OPTION_THUMB_HEIGHT_VALUE);
        PressKey(page, IDC_OPTION_THUMB_WIDTH, VK_HOME);
        heightAtNarrowest = Position(page, IDC_OPTION_THUMB_HEIGHT);
        PressKey(page, IDC_OPTION_THUMB_WIDTH, VK_END);
    });
    EXPECT_EQ(191, heightAtWidest);
    EXPECT_EQ("191", heightText);
    EXPECT_EQ(80, heightAtNarrowest);
    EXPECT_EQ(250, Preference.ThumbWidth);
    EXPECT_EQ(191, Preference.ThumbHeight);
    EXPECT_EQ(1, m_page.m_changed);
}

TEST_F(OptionThumbnailTest, AThickFrameDrawsTheFramedLookAndShowsItsValue)
{
    std::string border;
    Run([&](HWND page) {
        PressKey(page, IDC_OPTION_THUMB_BORDER, VK_END);
        border = TextOf(page, IDC_OPTION_THUMB_BORDER_VALUE);
    });
    EXPECT_EQ("10", border);
    EXPECT_EQ(10, Preference.ThumbBorder);
    const CDib& picture = m_page.m_preview.m_picture;
    // Light and dark edges at the cell's rim, the frame colour inside
    // them, and the sunken field 10 inside.
    EXPECT_EQ(RGB(198, 198, 255), PixelAt(picture, 40, 125));
    EXPECT_EQ(RGB(58, 58, 122), PixelAt(picture, 209, 125));
    EXPECT_EQ(kFrame, PixelAt(picture, 45, 125));
    EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), PixelAt(picture, 125, 125));
    EXPECT_EQ(RGB(58, 58, 122), PixelAt(picture, 50, 125));
}

TEST_F(OptionThumbnailTest, DefaultsResetTheSizesButNotTheColours)
{
    Preference.ConstrainProportion = 0;
    bool keepRatio = false;
    std::string width, border;
    Run([&](HWND page) {
        PressKey(page, IDC_OPTION_THUMB_WIDTH, VK_END);
        PressKey(page, IDC_OPTION_THUMB_BORDER, VK_END);
        SendDlgItemMessageA(page, IDC_OPTION_THUMB_DEFAULT, BM_CLICK, 0, 0);
        keepRatio = IsDlgButtonChecked(page, IDC_OPTION_THUMB_KEEP_RATIO) == BST_CHECKED;
        width = TextOf(page, IDC_OPTION_THUMB_WIDTH_VALUE);
        border = TextOf(page, IDC_OPTION_THUMB_BORDER_VALUE);
    });
    EXPECT_TRUE(keepRatio);
    EXPECT_EQ("170", width);
    EXPECT_EQ("0", border);
    EXPECT_EQ(170, Preference.ThumbWidth);
    EXPECT_EQ(5, Preference.ThumbBorder);
    EXPECT_EQ(1, Preference.ConstrainProportion);
    EXPECT_EQ(kFrame, Preference.ThumbnailColor);
}

TEST_F(OptionThumbnailTest, DamagedStoredSizesReachThePageClamped)
{
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Pellmoor\\Harbeck\\Option\\Thumbnail", 0,
                                             nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr));
    DWORD huge = 9999;
    RegSetValueExA(key, "ThumbWidth", 0, REG_DWORD, (const BYTE*)&huge, sizeof(huge));
    RegSetValueExA(key, "ThumbBorder", 0, REG_SZ, (const BYTE*)"x", 2);
    RegCloseKey(key);
    Preference.LoadFromRegistry();
    int width = 0, border = 0;
    Run([&](HWND page) {
        width = Position(page, IDC_OPTION_THUMB_WIDTH);
        border = Position(page, IDC_OPTION_THUMB_BORDER);
    });
    EXPECT_EQ(250, width);
    EXPECT_EQ(5, border);
}
