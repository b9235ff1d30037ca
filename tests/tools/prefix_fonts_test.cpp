// The faces the program's windows draw names with, in the prefix that
// tools/wine-session.sh sets up: hyphens drawn, Chinese glyphs whole.
#include "tests/support/gtest.h"

#include <commctrl.h>

#include <string>
#include <vector>

namespace {

const WCHAR kSample[] = L"a-b_c \u5b50\u76ee\u5f55 \u5e73\u9762\u56fe";  // a-b_c 子目录 平面图
const int kHyphen = 1;
const int kChinese[] = {6, 7, 8, 10, 11, 12};

// The sample drawn black on white with one font, and where each
// character begins.
struct Drawn {
    int width = 0, height = 0;
    std::vector<BYTE> grey;  // one byte a pixel, 0 black
    std::vector<int> starts;  // one more than the characters: the end
    bool outlinesOnly = false;

    int Ink(int x0, int x1) const
    {
        int ink = 0;
        for (int y = 0; y < height; ++y)
            for (int x = x0; x < x1; ++x)
                ink += grey[y * width + x] < 160;
        return ink;
    }
    // Pixels that differ between the cells of two characters laid on one
    // another at their left edges.
    int Differences(int a, int b) const
    {
        int differ = 0;
        const int widthA = starts[a + 1] - starts[a], widthB = starts[b + 1] - starts[b];
        const int cell = widthA > widthB ? widthA : widthB;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < cell; ++x) {
                const int xa = starts[a] + x, xb = starts[b] + x;
                const bool inkA = xa < width && grey[y * width + xa] < 160;
                const bool inkB = xb < width && grey[y * width + xb] < 160;
                differ += inkA != inkB;
            }
        return differ;
    }
};

Drawn Draw(HFONT font)
{
    Drawn drawn;
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ oldFont = SelectObject(dc, font);
    const int length = lstrlenW(kSample);
    SIZE size = {};
    for (int i = 0; i <= length; ++i) {
        GetTextExtentPoint32W(dc, kSample, i, &size);
        drawn.starts.push_back(size.cx);
    }
    drawn.width = size.cx + 4;
    drawn.height = size.cy;
    // Embedded bitmap strikes are what draws glyphs coarse or missing at
    // small sizes.
    const DWORD bitmapTable = 'E' | ('B' << 8) | ('D' << 16) | ('T' << 24);
    drawn.outlinesOnly = GetFontData(dc, bitmapTable, 0, nullptr, 0) == GDI_ERROR;

    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = drawn.width;
    info.bmiHeader.biHeight = -drawn.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    RECT all = {0, 0, drawn.width, drawn.height};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkMode(dc, TRANSPARENT);
    TextOutW(dc, 0, 0, kSample, length);
    GdiFlush();
    const BYTE* pixels = static_cast<const BYTE*>(bits);
    for (int i = 0; i < drawn.width * drawn.height; ++i)
        drawn.grey.push_back(static_cast<BYTE>((pixels[4 * i] + pixels[4 * i + 1] + pixels[4 * i + 2]) / 3));
    SelectObject(dc, oldBitmap);
    DeleteObject(bitmap);
    SelectObject(dc, oldFont);
    DeleteDC(dc);
    return drawn;
}

void ExpectNamesWhole(HFONT font, const std::string& which)
{
    SCOPED_TRACE(which);
    ASSERT_TRUE(font);
    const Drawn drawn = Draw(font);
    ASSERT_GT(drawn.height, 8);
    EXPECT_TRUE(drawn.outlinesOnly);
    EXPECT_GT(drawn.Ink(drawn.starts[kHyphen], drawn.starts[kHyphen + 1]), 0) << "no hyphen";
    for (size_t i = 0; i < sizeof(kChinese) / sizeof(kChinese[0]); ++i) {
        const int at = kChinese[i];
        const int ink = drawn.Ink(drawn.starts[at], drawn.starts[at + 1]);
        EXPECT_GT(ink, 10) << "character " << at;
        // Neighbouring glyphs of a whole face differ in a good part of
        // their strokes; a face that lacks them repeats one shape or
        // draws nothing.
        if (i > 0 && kChinese[i - 1] == at - 1) {
            EXPECT_GT(drawn.Differences(at - 1, at), ink / 4) << "characters " << at - 1 << " and " << at;
        }
    }
}

TEST(PrefixFontsTest, ListAndDialogFacesDrawNamesWhole)
{
    // The file list is a list view in its own font.
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_LISTVIEW_CLASSES};
    ASSERT_TRUE(InitCommonControlsEx(&controls));
    HWND list = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_POPUP | LVS_ICON, 0, 0, 300, 200, nullptr, nullptr,
                                nullptr, nullptr);
    ASSERT_TRUE(list);
    ExpectNamesWhole(reinterpret_cast<HFONT>(SendMessageW(list, WM_GETFONT, 0, 0)), "list view");
    DestroyWindow(list);

    ExpectNamesWhole(static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)), "default GUI font");
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof(metrics);
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0));
    HFONT menu = CreateFontIndirectW(&metrics.lfMenuFont);
    ExpectNamesWhole(menu, "menu font");
    DeleteObject(menu);
    // The dialogs' FONT 9, "宋体", at 96 dots an inch.
    for (const WCHAR* face : {L"\u5b8b\u4f53", L"SimSun", L"MS Shell Dlg", L"MS Shell Dlg 2", L"Tahoma"}) {
        HFONT dialog = CreateFontW(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, face);
        char name[64] = {};
        WideCharToMultiByte(CP_UTF8, 0, face, -1, name, sizeof(name), nullptr, nullptr);
        ExpectNamesWhole(dialog, name);
        DeleteObject(dialog);
    }
}

}  // namespace
