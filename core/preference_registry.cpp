// CPreference's REG_DWORD values: one list of names per key, walked by a
// loader or a saver.
#include "core/preference.h"

#include "core/registry_values.h"

namespace {

const char kOptionKey[] = "Option";
const char kThumbnailKey[] = "Option\\Thumbnail";
const char kDwgDrawKey[] = "Option\\DwgDraw";
const char kBrowserKey[] = "Option\\Browser";
const char kRasterKey[] = "Option\\Raster";

const int32_t kMinThumbSize = 80;
const int32_t kMaxThumbSize = 250;
const int32_t kMinThumbBorder = 5;
const int32_t kMaxThumbBorder = 10;

int32_t Clamp(int32_t value, int32_t low, int32_t high)
{
    return value < low ? low : (value > high ? high : value);
}

}  // namespace

// Moves settings between the fields and one open key.
class CPreferenceExchange
{
public:
    explicit CPreferenceExchange(CRegKey& key) : m_key(key) {}
    virtual ~CPreferenceExchange() = default;

    virtual void Number(const char* name, int32_t& value) = 0;
    virtual void Colour(const char* name, COLORREF& value) = 0;
    // A colour index: stored whole, loaded as its low 16 bits, signed.
    virtual void ColourIndex(const char* name, int32_t& value) = 0;
    virtual void Flag(const char* name, BYTE& flag) = 0;
    virtual void Flag(const char* name, WORD& flag) = 0;

protected:
    CRegKey& m_key;
};

namespace {

class CPreferenceLoader : public CPreferenceExchange
{
public:
    using CPreferenceExchange::CPreferenceExchange;

    void Number(const char* name, int32_t& value) override
    {
        DWORD stored = 0;
        if (m_key.QueryDWORDValue(name, stored) == ERROR_SUCCESS)
            value = (int32_t)stored;
    }
    void Colour(const char* name, COLORREF& value) override { m_key.QueryDWORDValue(name, value); }
    void ColourIndex(const char* name, int32_t& value) override
    {
        DWORD stored = 0;
        if (m_key.QueryDWORDValue(name, stored) == ERROR_SUCCESS)
            value = (int16_t)(stored & 0xFFFF);
    }
    void Flag(const char* name, BYTE& flag) override { ReadRegistryFlag(m_key, name, flag); }
    void Flag(const char* name, WORD& flag) override { ReadRegistryFlag(m_key, name, flag); }
};

class CPreferenceSaver : public CPreferenceExchange
{
public:
    using CPreferenceExchange::CPreferenceExchange;

    void Number(const char* name, int32_t& value) override
    {
        m_key.SetDWORDValue(name, (DWORD)value);
    }
    void Colour(const char* name, COLORREF& value) override { m_key.SetDWORDValue(name, value); }
    void ColourIndex(const char* name, int32_t& value) override
    {
        m_key.SetDWORDValue(name, (DWORD)value);
    }
    void Flag(const char* name, BYTE& flag) override { WriteRegistryFlag(m_key, name, flag != 0); }
    void Flag(const char* name, WORD& flag) override { WriteRegistryFlag(m_key, name, flag != 0); }
};

}  // namespace

void CPreference::ExchangeOption(CPreferenceExchange& exchange)
{
    exchange.Flag("ConstrainProportion", ConstrainProportion);
}

void CPreference::ExchangeThumbnail(CPreferenceExchange& exchange)
{
    exchange.Number("ThumbWidth", ThumbWidth);
    exchange.Number("ThumbHeight", ThumbHeight);
    exchange.Number("ThumbBorder", ThumbBorder);
    exchange.Flag("SystemColor", SystemColor);
    exchange.Flag("ReadBitmapFromDwg", ReadBitmapFromDwg);
    exchange.Flag("ReadBitmapFromRaster", ReadBitmapFromRaster);
    exchange.Flag("ForceUseLibSize", ForceUseLibSize);
    exchange.Colour("ListCtrlColor", ListCtrlColor);
    exchange.Colour("ThumbnailColor", ThumbnailColor);
}

void CPreference::ExchangeDwgDraw(CPreferenceExchange& exchange)
{
    exchange.ColourIndex("BackGroundColor", BackGroundColor);
    exchange.Flag("DrawTextQickly", DrawTextQickly);
    exchange.Flag("FillOn", FillOn);
    exchange.Flag("ZoomExtend", ZoomExtend);
    exchange.Flag("PreviewZoomExtend", PreviewZoomExtend);
    exchange.Flag("HighLight", HighLight);
}

void CPreference::ExchangeBrowser(CPreferenceExchange& exchange)
{
    exchange.Number("SortType", SortType);
    exchange.Flag("ShowPathBox", ShowPathBox);
    exchange.Flag("ShowStatus", ShowStatus);
    exchange.Flag("ShowToolBar", ShowToolBar);
    exchange.Flag("ShowFullPath", ShowFullPath);
    exchange.Flag("StartPreviousFolder", StartPreviousFolder);
    exchange.Flag("ShowNoneDrawingFile", ShowNoneDrawingFile);
    exchange.Flag("OnlyShowDrawing", OnlyShowDrawing);
    exchange.Flag("SortDir", SortDir);
    exchange.Flag("DBClickOpenByQuorvantix", DBClickOpenByQuorvantix);
}

void CPreference::ExchangeRaster(CPreferenceExchange& exchange)
{
    exchange.Flag("PreviewHalfTone", PreviewHalfTone);
}

void CPreference::ClampThumbnailSizes()
{
    ThumbWidth = Clamp(ThumbWidth, kMinThumbSize, kMaxThumbSize);
    ThumbHeight = Clamp(ThumbHeight, kMinThumbSize, kMaxThumbSize);
    ThumbBorder = Clamp(ThumbBorder, kMinThumbBorder, kMaxThumbBorder);
}

void CPreference::LoadFromRegistry()
{
    CRegKey key;
    if (OpenProductKey(key, kOptionKey)) {
        CPreferenceLoader loader(key);
        ExchangeOption(loader);
    }
    if (OpenProductKey(key, kThumbnailKey)) {
        CPreferenceLoader loader(key);
        ExchangeThumbnail(loader);
        ClampThumbnailSizes();
        UpdateColors();
    }
    if (OpenProductKey(key, kDwgDrawKey)) {
        CPreferenceLoader loader(key);
        ExchangeDwgDraw(loader);
    }
    if (OpenProductKey(key, kBrowserKey)) {
        CPreferenceLoader loader(key);
        ExchangeBrowser(loader);
        SetSortType(SortType);
    }
    if (CreateProductKey(key, kRasterKey)) {
        CPreferenceLoader loader(key);
        ExchangeRaster(loader);
    }
}

void CPreference::SaveToRegistry()
{
    struct Group {
        const char* key;
        void (CPreference::*exchange)(CPreferenceExchange&);
    };
    const Group groups[] = {
        {kOptionKey, &CPreference::ExchangeOption},   {kThumbnailKey, &CPreference::ExchangeThumbnail},
        {kDwgDrawKey, &CPreference::ExchangeDwgDraw}, {kBrowserKey, &CPreference::ExchangeBrowser},
        {kRasterKey, &CPreference::ExchangeRaster},
    };
    for (const Group& group : groups) {
        CRegKey key;
        if (CreateProductKey(key, group.key)) {
            CPreferenceSaver saver(key);
            (this->*group.exchange)(saver);
        }
    }
}
