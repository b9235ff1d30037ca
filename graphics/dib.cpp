#include "graphics/dib.h"

#include <cstdlib>
#include <cstring>

#include "graphics/dib_convert.h"
#include "graphics/dib_format.h"
#include "graphics/dib_rotate.h"
#include "graphics/octree_quantizer.h"
#include "platform/classlib/archive.h"
#include "platform/classlib/module_state.h"

IMPLEMENT_SERIAL(CDib, CObject, 1)

namespace {

// Locks a packed DIB for the life of the object.
class LockedDib {
public:
    explicit LockedDib(HGLOBAL block) : m_block(block), m_data(block ? GlobalLock(block) : nullptr) {}
    ~LockedDib()
    {
        if (m_data)
            GlobalUnlock(m_block);
    }
    void* data() const { return m_data; }

private:
    LockedDib(const LockedDib&) = delete;
    LockedDib& operator=(const LockedDib&) = delete;
    HGLOBAL m_block;
    void* m_data;
};

// GDI wrappers not entered in the class library's per-thread handle maps:
// a picture may be made on a worker thread and freed on the UI thread.
CPalette* WrapPalette(HPALETTE palette)
{
    if (!palette)
        return nullptr;
    CPalette* wrapper = new CPalette;
    wrapper->m_hObject = palette;
    return wrapper;
}

CBitmap* WrapBitmap(HBITMAP bitmap)
{
    CBitmap* wrapper = new CBitmap;
    wrapper->m_hObject = bitmap;
    return wrapper;
}

}  // namespace

CDib::CDib()
    : m_hDib(nullptr), m_hBitmap(nullptr), m_pPalette(nullptr), m_pBitmap(nullptr),
      m_pMemDC(nullptr), m_hOldBitmap(nullptr), m_hOldPalette(nullptr), m_nResolution(0)
{
}

CDib::~CDib()
{
    FreePicture();
}

void CDib::FreePicture()
{
    // The bitmap cannot be deleted while a memory DC still holds it.
    CloseMemDC();
    if (m_hDib)
        GlobalFree(m_hDib);
    m_hDib = nullptr;
    delete m_pBitmap;
    m_pBitmap = nullptr;
    delete m_pPalette;
    m_pPalette = nullptr;
    m_hBitmap = nullptr;
}

BOOL CDib::Adopt(HGLOBAL dib)
{
    FreePicture();
    m_hDib = dib;
    LockedDib locked(m_hDib);
    if (!locked.data())
        return FALSE;
    m_pPalette = WrapPalette(CreateDibPalette(locked.data()));
    m_hBitmap = CreateDibSection(locked.data());
    if (!m_hBitmap)
        return FALSE;
    m_pBitmap = WrapBitmap(m_hBitmap);
    return TRUE;
}

BOOL CDib::Create(int width, int height, int bits)
{
    HGLOBAL dib = NewDib(width, height, bits);
    if (!dib)
        return FALSE;
    return Adopt(dib);
}

BOOL CDib::CreateFromPackedDib(const void* packedDib)
{
    if (!packedDib)
        return FALSE;
    HGLOBAL copy = CopyToGlobalHandle(packedDib, DibSize(packedDib));
    if (!copy)
        return FALSE;
    {
        LockedDib locked(copy);
        if (!locked.data()) {
            GlobalFree(copy);
            return FALSE;
        }
        DibFillImageSize(locked.data());
    }
    return Adopt(copy);
}

BOOL CDib::Attach(HGLOBAL dib)
{
    if (!dib)
        return FALSE;
    return Adopt(dib);
}

BOOL CDib::CreateFromBitmap(CBitmap* bitmap)
{
    if (!bitmap)
        return FALSE;
    HGLOBAL dib = DdbToDib(static_cast<HBITMAP>(bitmap->m_hObject));
    if (!dib)
        return FALSE;
    return Adopt(dib);
}

BOOL CDib::LoadFromResource(UINT id, LPCSTR type)
{
    return LoadFromResource(MAKEINTRESOURCEA(id & 0xFFFF), type);
}

BOOL CDib::LoadFromResource(LPCSTR name, LPCSTR type)
{
    HINSTANCE module = AfxGetResourceHandle();
    HRSRC resource = FindResourceA(module, name, type);
    if (!resource)
        return FALSE;
    HGLOBAL loaded = LoadResource(module, resource);
    const BYTE* data = loaded ? static_cast<const BYTE*>(LockResource(loaded)) : nullptr;
    size_t size = SizeofResource(module, resource);
    if (!data)
        return FALSE;
    if (type != RT_BITMAP) {
        if (size < 14 + sizeof(BITMAPCOREHEADER) || data[0] != 'B' || data[1] != 'M')
            return FALSE;
        data += 14;
        size -= 14;
    }
    if (!DibFitsIn(data, size))
        return FALSE;
    return CreateFromPackedDib(data);
}

BOOL CDib::ChangeBitCount(int bits)
{
    LockedDib locked(m_hDib);
    if (!locked.data())
        return FALSE;
    if (DibBitCount(locked.data()) == bits)
        return TRUE;
    HGLOBAL converted = ConvertDib(locked.data(), bits, nullptr);
    if (!converted)
        return FALSE;
    return Adopt(converted);
}

BOOL CDib::SetBitCount(int bits)
{
    HGLOBAL converted = nullptr;
    {
        LockedDib locked(m_hDib);
        if (!locked.data())
            return FALSE;
        if (bits <= 8) {
            HCURSOR previous = SetCursor(LoadCursor(nullptr, IDC_WAIT));
            const int depth = DibRaisedBitCount(bits);
            HPALETTE palette = CreateOctreePalette(locked.data(), 1u << depth, depth);
            converted = ConvertDib(locked.data(), depth, palette);
            if (palette)
                DeleteObject(palette);
            SetCursor(previous);
        } else {
            converted = ConvertDib(locked.data(), bits, nullptr);
        }
    }
    if (!converted)
        return FALSE;
    return Adopt(converted);
}

BOOL CDib::Rotate(int quarterTurns)
{
    if (!m_hDib)
        return FALSE;
    HGLOBAL turned = m_hDib;
    for (int i = 0; i < quarterTurns; ++i) {
        HGLOBAL next = RotateDib90(turned);
        if (turned != m_hDib)
            GlobalFree(turned);
        if (!next)
            return FALSE;
        turned = next;
    }
    return Adopt(turned);
}

BOOL CDib::Rotate90()
{
    return Rotate(1);
}

BOOL CDib::Rotate180()
{
    return Rotate(2);
}

BOOL CDib::Rotate270()
{
    return Rotate(3);
}

int CDib::GetWidth() const
{
    LockedDib locked(m_hDib);
    return locked.data() ? DibWidth(locked.data()) : 0;
}

int CDib::GetHeight() const
{
    LockedDib locked(m_hDib);
    return locked.data() ? DibHeight(locked.data()) : 0;
}

int CDib::GetBitCount() const
{
    LockedDib locked(m_hDib);
    return locked.data() ? DibBitCount(locked.data()) : 0;
}

BYTE* CDib::GetBits() const
{
    LockedDib locked(m_hDib);
    return locked.data() ? DibBits(locked.data()) : nullptr;
}

CDC* CDib::BeginMemDC(CDC* reference)
{
    if (m_pMemDC)
        return m_pMemDC;
    if (!m_hBitmap)
        return nullptr;
    CDC* dc = new CDC;
    if (!dc->CreateCompatibleDC(reference)) {
        delete dc;
        return nullptr;
    }
    m_hOldPalette = nullptr;
    if (m_pPalette)
        m_hOldPalette = SelectPalette(dc->m_hDC, static_cast<HPALETTE>(m_pPalette->m_hObject), TRUE);
    m_hOldBitmap = SelectObject(dc->m_hDC, m_hBitmap);
    m_pMemDC = dc;
    return dc;
}

void CDib::CloseMemDC()
{
    if (!m_pMemDC)
        return;
    SelectObject(m_pMemDC->m_hDC, m_hOldBitmap);
    if (m_hOldPalette)
        SelectPalette(m_pMemDC->m_hDC, m_hOldPalette, TRUE);
    delete m_pMemDC;  // deletes the device context
    m_pMemDC = nullptr;
    m_hOldBitmap = nullptr;
    m_hOldPalette = nullptr;
}

BOOL CDib::EndMemDC()
{
    if (!m_pMemDC)
        return FALSE;
    CloseMemDC();
    GdiFlush();
    HGLOBAL drawn = DdbToDib(m_hBitmap);
    if (!drawn)
        return FALSE;
    return Adopt(drawn);
}

BOOL CDib::DrawAndEndMemDC(CDC* target, int x, int y, DWORD rop)
{
    if (!m_pMemDC || !target)
        return FALSE;
    if (m_pPalette) {
        SelectPalette(target->m_hDC, static_cast<HPALETTE>(m_pPalette->m_hObject), TRUE);
        RealizePalette(target->m_hDC);
    }
    BOOL done = ::BitBlt(target->m_hDC, x, y, GetWidth(), GetHeight(), m_pMemDC->m_hDC, 0, 0, rop);
    CloseMemDC();
    return done;
}

BOOL CDib::Draw(CDC* target, int x, int y, DWORD rop) const
{
    return StretchDraw(target, x, y, GetWidth(), GetHeight(), 0, 0, GetWidth(), GetHeight(), rop);
}

BOOL CDib::StretchDraw(CDC* target, int xDest, int yDest, int wDest, int hDest, int xSrc, int ySrc,
                       int wSrc, int hSrc, DWORD rop) const
{
    if (!target || !m_hBitmap)
        return FALSE;
    if (m_pPalette) {
        SelectPalette(target->m_hDC, static_cast<HPALETTE>(m_pPalette->m_hObject), TRUE);
        RealizePalette(target->m_hDC);
    }
    HDC memory = CreateCompatibleDC(target->m_hDC);
    if (!memory)
        return FALSE;
    HGDIOBJ old = SelectObject(memory, m_hBitmap);
    BOOL done;
    if (wDest == wSrc && hDest == hSrc)
        done = ::BitBlt(target->m_hDC, xDest, yDest, wDest, hDest, memory, xSrc, ySrc, rop);
    else
        done = ::StretchBlt(target->m_hDC, xDest, yDest, wDest, hDest, memory, xSrc, ySrc, wSrc,
                            hSrc, rop);
    SelectObject(memory, old);
    DeleteDC(memory);
    return done;
}

BOOL CDib::Clear(COLORREF colour)
{
    CDC* dc = BeginMemDC(nullptr);
    if (!dc)
        return FALSE;
    RECT all = {0, 0, GetWidth(), std::abs(GetHeight())};
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc->m_hDC, &all, brush);
    DeleteObject(brush);
    return EndMemDC();
}

BYTE* CDib::CopyToBmpFile() const
{
    LockedDib locked(m_hDib);
    if (!locked.data() || !DibIsInfoHeader(locked.data()))
        return nullptr;
    const BITMAPINFOHEADER* header = static_cast<const BITMAPINFOHEADER*>(locked.data());
    const DWORD table = DibPaletteSize(header);
    const DWORD image = DibImageSize(header);
    const size_t packed = static_cast<size_t>(header->biSize) + table + image;
    if (packed > GlobalSize(m_hDib) || packed + kBmpFileHeaderSize > 0xFFFFFFFFu)
        return nullptr;
    BYTE* file = static_cast<BYTE*>(malloc(kBmpFileHeaderSize + packed));
    if (!file)
        return nullptr;
    MakeBmpFileHeader(file, static_cast<DWORD>(kBmpFileHeaderSize + packed),
                      kBmpFileHeaderSize + header->biSize + table);
    memcpy(file + kBmpFileHeaderSize, header, packed);
    DibFillImageSize(file + kBmpFileHeaderSize);
    return file;
}
