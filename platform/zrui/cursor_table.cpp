#include "platform/zrui/cursor_table.h"

#include <string.h>

#include "platform/zrui/cursor_shapes.h"

ZrUI::CursorTable g_cursor;

namespace ZrUI {

namespace {

const int kCursorSize = 32;
const int kRowBytes = kCursorSize / 8;

// A cursor from its picture; null when the system refuses it.
HCURSOR MakeCursor(const CursorShape& shape)
{
    BYTE andPlane[kCursorSize * kRowBytes];
    BYTE xorPlane[kCursorSize * kRowBytes];
    memset(andPlane, 0xFF, sizeof(andPlane));
    memset(xorPlane, 0, sizeof(xorPlane));
    for (int y = 0; y < shape.rowCount && y < kCursorSize; ++y) {
        const char* row = shape.rows[y];
        for (int x = 0; x < kCursorSize && row[x]; ++x) {
            BYTE bit = (BYTE)(0x80 >> (x % 8));
            int at = y * kRowBytes + x / 8;
            if (row[x] == 'X' || row[x] == 'o')
                andPlane[at] &= (BYTE)~bit;
            if (row[x] == 'o')
                xorPlane[at] |= bit;
        }
    }
    return CreateCursor(GetModuleHandleA(NULL), shape.hotX, shape.hotY, kCursorSize, kCursorSize, andPlane,
                        xorPlane);
}

struct OwnCursor {
    int index;
    const CursorShape* shape;
};

const OwnCursor kOwnCursors[] = {
    {0, &kOrbitHorizontal}, {1, &kOrbitVertical}, {2, &kRoll}, {3, &kOrbitFree}, {4, &kZoomIn},
    {5, &kZoomOut},         {6, &kZoomWindow},    {10, &kPan}, {11, &kPanDrag},  {12, &kPrintPick},
};

// The print rectangle's handles show the system's sizing cursors.
struct SystemCursor {
    int index;
    LPCSTR id;
};

const SystemCursor kSystemCursors[] = {
    {14, IDC_SIZENS}, {15, IDC_SIZEWE}, {16, IDC_SIZENESW}, {17, IDC_SIZENWSE}, {18, IDC_SIZEALL},
};

}  // namespace

void CursorTable::Build()
{
    HCURSOR arrow = LoadCursorA(NULL, (LPCSTR)IDC_ARROW);
    for (int i = 0; i < kCount; ++i) {
        m_cursors[i] = arrow;
        m_ownCursor[i] = false;
    }
    for (const SystemCursor& entry : kSystemCursors)
        m_cursors[entry.index] = LoadCursorA(NULL, entry.id);
    for (const OwnCursor& entry : kOwnCursors) {
        HCURSOR made = MakeCursor(*entry.shape);
        if (made) {
            m_cursors[entry.index] = made;
            m_ownCursor[entry.index] = true;
        }
    }
    m_built = true;
}

HCURSOR CursorTable::operator[](int index)
{
    if (!m_built)
        Build();
    if (index < 0 || index >= kCount)
        return LoadCursorA(NULL, (LPCSTR)IDC_ARROW);
    return m_cursors[index];
}

void CursorTable::Release()
{
    for (int i = 0; i < kCount; ++i) {
        if (m_ownCursor[i])
            DestroyCursor(m_cursors[i]);
        m_cursors[i] = NULL;
        m_ownCursor[i] = false;
    }
    m_built = false;
}

}  // namespace ZrUI
