// CPreference: the settings of the process, with their defaults, ranges,
// derived colours and their REG_DWORD values under the product key
// ("Option", "Option\\Thumbnail", "Option\\DwgDraw", "Option\\Browser",
// "Option\\Raster"). Built with defaults before start-up, loaded by
// InitAllParameters and saved by FinalAllParameters.
//
// Only the UI thread writes the fields; worker threads read single fields.
#pragma once
#include <windows.h>
#include <stdint.h>

#include "platform/classlib/cstring.h"

class CThumbnailStores;
class CPreferenceExchange;

class CPreference
{
public:
    CPreference();
    CPreference(const CPreference&) = delete;
    CPreference& operator=(const CPreference&) = delete;
    // Deletes the thumbnail cache and the library index.
    ~CPreference();

    // Start-up: the settings, AutoCAD's search path for the drawing
    // library, the thumbnail cache and the library index.
    void InitAllParameters();
    // Saves the settings and the thumbnail stores' switches.
    void FinalAllParameters();
    // Ends the thumbnail cache (its pending library writes finish first)
    // and writes the library index; called once at exit, while the
    // process can still run its threads.
    void ReleaseThumbnailStores();

    void LoadFromRegistry();
    void SaveToRegistry();

    // The colour defaults for the SystemColor switch, then UpdateColors.
    void ResetColors();
    // The derived shades (and, with SystemColor, the system colours).
    void UpdateColors();

    void SetSortType(int sortType);
    // A colour index of the drawing library.
    void SetBackGroundColor(int colourIndex) { BackGroundColor = colourIndex; }
    bool GetHighLight() const { return HighLight != 0; }
    void SetHighLight(bool on) { HighLight = on ? 1 : 0; }

    // The stores the forwarders below reach; null (the default) makes
    // every store count as missing.
    void SetThumbnailStores(CThumbnailStores* stores);
    CThumbnailStores* GetThumbnailStores() const { return m_stores; }

    // Forwarders: setters do nothing and getters give the stated value
    // when the store does not exist.
    void SetImageCacheEnabled(bool enabled);
    bool IsImageCacheEnabled() const;                 // false
    void SetSaveInBrowserFolderFirst(bool on);
    bool GetSaveInBrowserFolderFirst() const;         // false
    void SetReadFromBrowserFolderFirst(bool on);
    bool GetReadFromBrowserFolderFirst() const;       // true
    void SetLibIndexPath(const char* folder);
    CString GetLibIndexPath() const;                  // ""

    // "Option\\DwgDraw"
    int32_t BackGroundColor;      // colour index of the drawing background
    // "Option\\Browser"
    int32_t SortType;             // 0 name, 1 size, 2 type, 3 date
    // Derived from ListCtrlColor: darker by 46, 35, 17 and 8 per channel.
    COLORREF ListShadeColors[4];
    // "Option\\Thumbnail"
    int32_t ThumbWidth;           // 80..250
    int32_t ThumbHeight;          // 80..250
    int32_t ThumbBorder;          // 5..10
    COLORREF ListCtrlColor;
    COLORREF ThumbnailColor;
    COLORREF ThumbnailLightColor;   // derived
    COLORREF ThumbnailDarkColor;    // derived
    BYTE SystemColor;
    BYTE ReadBitmapFromDwg;
    BYTE ReadBitmapFromRaster;
    BYTE ForceUseLibSize;
    // "Option\\DwgDraw"
    WORD DrawTextQickly;
    WORD FillOn;
    BYTE ZoomExtend;
    BYTE PreviewZoomExtend;
    // "Option\\Browser"
    BYTE ShowPathBox;
    BYTE ShowStatus;
    BYTE ShowToolBar;
    BYTE ShowFullPath;
    BYTE StartPreviousFolder;
    BYTE ShowNoneDrawingFile;
    BYTE OnlyShowDrawing;
    BYTE SortDir;                 // 1 ascending, 0 descending
    // "Option"
    BYTE ConstrainProportion;
    // "Option\\Browser"
    BYTE DBClickOpenByQuorvantix;
    // "Option\\DwgDraw"
    BYTE HighLight;
    // "Option\\Raster"
    BYTE PreviewHalfTone;

private:
    void ExchangeOption(CPreferenceExchange& exchange);
    void ExchangeThumbnail(CPreferenceExchange& exchange);
    void ExchangeDwgDraw(CPreferenceExchange& exchange);
    void ExchangeBrowser(CPreferenceExchange& exchange);
    void ExchangeRaster(CPreferenceExchange& exchange);
    void ClampThumbnailSizes();

    void LoadImageCache();
    void LoadLibIndex();
    void SaveThumbnailStores();
    bool HasCache() const;
    bool HasIndex() const;

    CThumbnailStores* m_stores;
};

// The settings of the process.
extern CPreference Preference;

// Each channel of the colour moved by delta, kept within 0..255.
COLORREF ShiftColour(COLORREF colour, int delta);
