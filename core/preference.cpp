#include "core/preference.h"

#include "core/acad_search_path.h"
#include "core/file_utils.h"
#include "core/global_objects.h"
#include "core/log_file.h"
#include "core/registry_values.h"
#include "core/thumbnail_stores.h"
#include "platform/zrio/zrio.h"
#include "platform/zrui/zrui.h"

CPreference Preference __attribute__((init_priority(kGlobalRankPreference)));

namespace {

const char kImageCacheKey[] = "Option\\ImageCache";
const char kLibIndexKey[] = "Option\\LibIndex";
const char kEnabledValue[] = "Enabled";
const char kSaveInBrowserFolderFirstValue[] = "SaveInBrowserFolderFirst";
const char kReadFromBrowserFolderFirstValue[] = "ReadFromBrowserFolderFirst";
const char kPathValue[] = "Path";
const DWORD kLibPathBufferSize = 1024;
const char kDefaultCacheFolder[] = "\\Harbeck\\ImageCache";

const COLORREF kThumbnailColourWithoutSystem = RGB(128, 128, 192);
const int kShadeStep = 70;
const int kListShadeSteps[4] = {46, 35, 17, 8};

int ClampChannel(int value)
{
    return value < 0 ? 0 : (value > 255 ? 255 : value);
}

// The stored cache folder when it exists or can be created, else the
// per-user default (created), else the program's folder; a default is
// written back.
CString ChooseLibraryFolder(const CString& stored)
{
    if (!stored.IsEmpty() && (DirectoryExists(stored) || CreateDirectories(stored)))
        return stored;
    const char* appData = ZrUI::getAppDataPath();
    CString folder = CString(appData ? appData : "") + kDefaultCacheFolder;
    if (!DirectoryExists(folder) && !CreateDirectories(folder))
        folder = GetProgramFolder();
    CRegKey key;
    if (CreateProductKey(key, kLibIndexKey))
        key.SetStringValue(kPathValue, folder);
    return folder;
}

}  // namespace

COLORREF ShiftColour(COLORREF colour, int delta)
{
    return RGB(ClampChannel(GetRValue(colour) + delta), ClampChannel(GetGValue(colour) + delta),
               ClampChannel(GetBValue(colour) + delta));
}

CPreference::CPreference()
    : BackGroundColor(0),
      SortType(0),
      ThumbWidth(170),
      ThumbHeight(130),
      ThumbBorder(5),
      ListCtrlColor(GetSysColor(COLOR_APPWORKSPACE)),
      ThumbnailColor(GetSysColor(COLOR_BTNFACE)),
      ThumbnailLightColor(0),
      ThumbnailDarkColor(0),
      SystemColor(1),
      ReadBitmapFromDwg(1),
      ReadBitmapFromRaster(1),
      ForceUseLibSize(1),
      DrawTextQickly(0),
      FillOn(1),
      ZoomExtend(1),
      PreviewZoomExtend(0),
      ShowPathBox(1),
      ShowStatus(1),
      ShowToolBar(1),
      ShowFullPath(1),
      StartPreviousFolder(1),
      ShowNoneDrawingFile(1),
      OnlyShowDrawing(0),
      SortDir(1),
      ConstrainProportion(1),
      DBClickOpenByQuorvantix(1),
      HighLight(1),
      PreviewHalfTone(0),
      m_stores(nullptr)
{
    ResetColors();
    WriteLog(NULL, "Construct Preference");
}

CPreference::~CPreference()
{
    WriteLog(NULL, "Destroy Preference");
    ReleaseThumbnailStores();
}

void CPreference::ReleaseThumbnailStores()
{
    if (m_stores) {
        m_stores->DeleteDwgCache();
        m_stores->DeleteLibIndexTree();
    }
}

void CPreference::ResetColors()
{
    if (SystemColor) {
        ListCtrlColor = GetSysColor(COLOR_APPWORKSPACE);
        ThumbnailColor = GetSysColor(COLOR_BTNFACE);
    } else {
        ListCtrlColor = GetSysColor(COLOR_BTNFACE);
        ThumbnailColor = kThumbnailColourWithoutSystem;
    }
    UpdateColors();
}

void CPreference::UpdateColors()
{
    if (SystemColor) {
        ListCtrlColor = GetSysColor(COLOR_APPWORKSPACE);
        ThumbnailColor = GetSysColor(COLOR_BTNFACE);
        ThumbnailLightColor = GetSysColor(COLOR_BTNHIGHLIGHT);
        ThumbnailDarkColor = GetSysColor(COLOR_BTNSHADOW);
    } else {
        ThumbnailLightColor = ShiftColour(ThumbnailColor, kShadeStep);
        ThumbnailDarkColor = ShiftColour(ThumbnailColor, -kShadeStep);
    }
    for (int i = 0; i < 4; ++i)
        ListShadeColors[i] = ShiftColour(ListCtrlColor, -kListShadeSteps[i]);
}

void CPreference::SetSortType(int sortType)
{
    SortType = sortType < 0 ? 0 : (sortType > 3 ? 3 : sortType);
}

void CPreference::SetThumbnailStores(CThumbnailStores* stores)
{
    m_stores = stores;
}

bool CPreference::HasCache() const
{
    return m_stores && m_stores->HasDwgCache();
}

bool CPreference::HasIndex() const
{
    return m_stores && m_stores->HasLibIndexTree();
}

void CPreference::SetImageCacheEnabled(bool enabled)
{
    if (HasCache())
        m_stores->EnableDwgCache(enabled);
}

bool CPreference::IsImageCacheEnabled() const
{
    return HasCache() && m_stores->IsDwgCacheEnabled();
}

void CPreference::SetSaveInBrowserFolderFirst(bool on)
{
    if (HasIndex())
        m_stores->SetSaveInBrowserFolderFirst(on);
}

bool CPreference::GetSaveInBrowserFolderFirst() const
{
    return HasIndex() && m_stores->GetSaveInBrowserFolderFirst();
}

void CPreference::SetReadFromBrowserFolderFirst(bool on)
{
    if (HasIndex())
        m_stores->SetReadFromBrowserFolderFirst(on);
}

bool CPreference::GetReadFromBrowserFolderFirst() const
{
    return !HasIndex() || m_stores->GetReadFromBrowserFolderFirst();
}

void CPreference::SetLibIndexPath(const char* folder)
{
    if (HasIndex())
        m_stores->SetLibIndexPath(folder);
}

CString CPreference::GetLibIndexPath() const
{
    return HasIndex() ? m_stores->GetLibIndexPath() : CString();
}

void CPreference::InitAllParameters()
{
    LoadFromRegistry();
    CString searchPath;
    if (FindAcadSearchPath(searchPath))
        DWG_SetSearchDirectories(searchPath);
    LoadImageCache();
    LoadLibIndex();
}

void CPreference::LoadImageCache()
{
    BYTE enabled = 1;
    CRegKey key;
    if (OpenProductKey(key, kImageCacheKey))
        ReadRegistryFlag(key, kEnabledValue, enabled);
    if (m_stores)
        m_stores->CreateDwgCache(enabled != 0);
}

void CPreference::LoadLibIndex()
{
    BYTE saveInBrowserFolderFirst = 0;
    BYTE readFromBrowserFolderFirst = 1;
    CString stored;
    CRegKey key;
    if (OpenProductKey(key, kLibIndexKey)) {
        ReadRegistryFlag(key, kSaveInBrowserFolderFirstValue, saveInBrowserFolderFirst);
        ReadRegistryFlag(key, kReadFromBrowserFolderFirstValue, readFromBrowserFolderFirst);
        ReadRegistryString(key, kPathValue, kLibPathBufferSize, stored);
        key.Close();
    }
    CString folder = ChooseLibraryFolder(stored);
    if (m_stores)
        m_stores->CreateLibIndexTree(folder, saveInBrowserFolderFirst != 0,
                                     readFromBrowserFolderFirst != 0);
}

void CPreference::FinalAllParameters()
{
    SaveToRegistry();
    SaveThumbnailStores();
}

// A store that does not exist leaves its stored values alone, so that a
// run that never made it does not overwrite the user's cache folder.
void CPreference::SaveThumbnailStores()
{
    CRegKey cacheKey;
    if (HasCache() && CreateProductKey(cacheKey, kImageCacheKey))
        WriteRegistryFlag(cacheKey, kEnabledValue, IsImageCacheEnabled());
    CRegKey indexKey;
    if (HasIndex() && CreateProductKey(indexKey, kLibIndexKey)) {
        WriteRegistryFlag(indexKey, kSaveInBrowserFolderFirstValue, GetSaveInBrowserFolderFirst());
        WriteRegistryFlag(indexKey, kReadFromBrowserFolderFirstValue, GetReadFromBrowserFolderFirst());
        indexKey.SetStringValue(kPathValue, GetLibIndexPath());
    }
}
