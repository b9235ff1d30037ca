#include "toolkit/common/global_data.h"

#include "core/global_objects.h"
#include "core/log_file.h"

CCJGlobalData g_globalData __attribute__((init_priority(kGlobalRankToolkitGlobalData)));

namespace {

int CALLBACK NoteFamily(const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM found)
{
    *(bool*)found = true;
    return 0;
}

bool IsFontFamilyInstalled(const char* face)
{
    HDC screen = ::GetDC(NULL);
    bool found = false;
    ::EnumFontFamiliesA(screen, face, NoteFamily, (LPARAM)&found);
    ::ReleaseDC(NULL, screen);
    return found;
}

}  // namespace

CCJGlobalData::CCJGlobalData() :
    clrBtnFace(::GetSysColor(COLOR_BTNFACE)),
    clrBtnShadow(::GetSysColor(COLOR_BTNSHADOW)),
    clrBtnHilite(::GetSysColor(COLOR_BTNHIGHLIGHT)),
    clr3DDkShadow(::GetSysColor(COLOR_3DDKSHADOW)),
    clr3DLight(::GetSysColor(COLOR_3DLIGHT)),
    hbrBtnFace(::CreateSolidBrush(clrBtnFace)),
    hcurSizeWE(NULL),
    hcurSizeNS(NULL),
    cyMenuText(0)
{
    CreateMenuFonts();
    WriteLog(NULL, "Construct g_globalData");
}

CCJGlobalData::~CCJGlobalData()
{
    WriteLog(NULL, "Destroy g_globalData");
    if (hbrBtnFace != NULL)
        ::DeleteObject(hbrBtnFace);
}

void CCJGlobalData::LoadSizingCursors()
{
    if (hcurSizeWE == NULL)
        hcurSizeWE = ::LoadCursorA(NULL, (LPCSTR)IDC_SIZEWE);
    if (hcurSizeNS == NULL)
        hcurSizeNS = ::LoadCursorA(NULL, (LPCSTR)IDC_SIZENS);
}

void CCJGlobalData::CreateMenuFonts()
{
    NONCLIENTMETRICSA metrics = {};
    metrics.cbSize = sizeof(metrics);
    ::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    LOGFONTA font = metrics.lfMenuFont;
    if (font.lfCharSet <= SYMBOL_CHARSET)
        lstrcpyA(font.lfFaceName, IsFontFamilyInstalled("Tahoma") ? "Tahoma" : "MS Sans Serif");
    fontMenu.CreateFontIndirect(&font);
    font.lfWeight = FW_BOLD;
    fontMenuBold.CreateFontIndirect(&font);

    HDC screen = ::GetDC(NULL);
    HGDIOBJ old = ::SelectObject(screen, fontMenu.GetSafeHandle());
    TEXTMETRICA text = {};
    ::GetTextMetricsA(screen, &text);
    ::SelectObject(screen, old);
    ::ReleaseDC(NULL, screen);
    cyMenuText = text.tmHeight + 2;
}
