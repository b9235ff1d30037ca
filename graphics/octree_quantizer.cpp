#include "graphics/octree_quantizer.h"

#include <cstdint>
#include <cstring>
#include <vector>

#include "graphics/dib_convert.h"
#include "platform/base/byte_reader.h"

namespace {

const int kMaxLevels = 9;  // levels 0..8 at most

// The sums are 64-bit so that a leaf of a very large picture cannot wrap.
struct OctreeNode {
    DWORD isLeaf;
    DWORD pixelCount;
    uint64_t redSum;
    uint64_t greenSum;
    uint64_t blueSum;
    OctreeNode* children[8];
    OctreeNode* nextReducible;
};

// The tree of one palette build; every node comes from the process heap.
class Octree {
public:
    Octree(UINT maxColors, UINT colorBits)
        : m_root(nullptr), m_leafCount(0), m_maxColors(maxColors), m_colorBits(colorBits)
    {
        for (OctreeNode*& head : m_reducible)
            head = nullptr;
    }
    ~Octree() { FreeNode(m_root); }

    // Adds one pixel; false when a node cannot be allocated.
    bool AddPixel(BYTE red, BYTE green, BYTE blue)
    {
        if (!AddColor(red, green, blue))
            return false;
        while (m_leafCount > m_maxColors) {
            if (!Reduce())
                break;
        }
        return true;
    }

    UINT LeafCount() const { return m_leafCount; }

    // The palette of the leaves, children 0 to 7 depth first.
    HPALETTE MakePalette() const
    {
        SIZE_T size = sizeof(LOGPALETTE) + sizeof(PALETTEENTRY) * m_leafCount;
        LOGPALETTE* palette = static_cast<LOGPALETTE*>(
            HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, size));
        if (!palette)
            return nullptr;
        palette->palVersion = 0x300;
        palette->palNumEntries = static_cast<WORD>(m_leafCount);
        UINT index = 0;
        FillEntries(m_root, palette->palPalEntry, index);
        HPALETTE result = CreatePalette(palette);
        HeapFree(GetProcessHeap(), 0, palette);
        return result;
    }

private:
    Octree(const Octree&) = delete;
    Octree& operator=(const Octree&) = delete;

    static const BYTE kMasks[8];

    OctreeNode* NewNode(UINT level)
    {
        OctreeNode* node = static_cast<OctreeNode*>(
            HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(OctreeNode)));
        if (!node)
            return nullptr;
        if (level == m_colorBits) {
            node->isLeaf = 1;
            ++m_leafCount;
        } else {
            node->nextReducible = m_reducible[level];
            m_reducible[level] = node;
        }
        return node;
    }

    bool AddColor(BYTE red, BYTE green, BYTE blue)
    {
        OctreeNode** slot = &m_root;
        for (UINT level = 0;; ++level) {
            if (!*slot) {
                *slot = NewNode(level);
                if (!*slot)
                    return false;
            }
            OctreeNode* node = *slot;
            if (node->isLeaf) {
                node->pixelCount++;
                node->redSum += red;
                node->greenSum += green;
                node->blueSum += blue;
                return true;
            }
            int shift = 7 - static_cast<int>(level);
            int child = (((red & kMasks[level]) >> shift) << 2) |
                        (((green & kMasks[level]) >> shift) << 1) |
                        ((blue & kMasks[level]) >> shift);
            slot = &node->children[child];
        }
    }

    // Merges the most recently added node of the deepest reducible level
    // into one leaf; false when no node is left to merge.
    bool Reduce()
    {
        int level = static_cast<int>(m_colorBits) - 1;
        while (level > 0 && !m_reducible[level])
            --level;
        if (level < 0 || !m_reducible[level])
            return false;
        OctreeNode* node = m_reducible[level];
        m_reducible[level] = node->nextReducible;
        UINT children = 0;
        for (OctreeNode*& child : node->children) {
            if (!child)
                continue;
            node->redSum += child->redSum;
            node->greenSum += child->greenSum;
            node->blueSum += child->blueSum;
            node->pixelCount += child->pixelCount;
            FreeNode(child);
            child = nullptr;
            ++children;
        }
        node->isLeaf = 1;
        m_leafCount = m_leafCount + 1 - children;
        return true;
    }

    static void FreeNode(OctreeNode* node)
    {
        if (!node)
            return;
        for (OctreeNode* child : node->children)
            FreeNode(child);
        HeapFree(GetProcessHeap(), 0, node);
    }

    static void FillEntries(const OctreeNode* node, PALETTEENTRY* entries, UINT& index)
    {
        if (!node)
            return;
        if (node->isLeaf) {
            DWORD count = node->pixelCount ? node->pixelCount : 1;
            entries[index].peRed = static_cast<BYTE>(node->redSum / count);
            entries[index].peGreen = static_cast<BYTE>(node->greenSum / count);
            entries[index].peBlue = static_cast<BYTE>(node->blueSum / count);
            entries[index].peFlags = 0;
            ++index;
            return;
        }
        for (const OctreeNode* child : node->children)
            FillEntries(child, entries, index);
    }

    OctreeNode* m_root;
    OctreeNode* m_reducible[kMaxLevels];
    UINT m_leafCount;
    UINT m_maxColors;
    UINT m_colorBits;
};

const BYTE Octree::kMasks[8] = {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01};

int LowestSetBit(DWORD mask)
{
    if (mask == 0)
        return -1;
    int bit = 0;
    while (!(mask & 1)) {
        mask >>= 1;
        ++bit;
    }
    return bit;
}

int SetBitCount(DWORD mask)
{
    int count = 0;
    for (; mask; mask >>= 1)
        count += mask & 1;
    return count;
}

// One channel of a 16-bit pixel, widened to 8 bits.
struct Channel16 {
    explicit Channel16(DWORD channelMask)
        : mask(channelMask), right(LowestSetBit(channelMask)), left(8 - SetBitCount(channelMask))
    {
    }
    BYTE Of(DWORD pixel) const
    {
        if (right < 0)
            return 0;
        DWORD value = (pixel & mask) >> right;
        value = left >= 0 ? value << left : value >> -left;
        return static_cast<BYTE>(value);
    }
    DWORD mask;
    int right;
    int left;
};

// One channel of a 32-bit pixel.
struct Channel32 {
    explicit Channel32(DWORD channelMask) : mask(channelMask), right(LowestSetBit(channelMask)) {}
    BYTE Of(DWORD pixel) const
    {
        return right < 0 ? 0 : static_cast<BYTE>((pixel & mask) >> right);
    }
    DWORD mask;
    int right;
};

void ChannelMasks(const DIBSECTION& section, DWORD defaultRed, DWORD defaultGreen,
                  DWORD defaultBlue, DWORD masks[3])
{
    if (section.dsBmih.biCompression == BI_BITFIELDS) {
        masks[0] = section.dsBitfields[0];
        masks[1] = section.dsBitfields[1];
        masks[2] = section.dsBitfields[2];
    } else {
        masks[0] = defaultRed;
        masks[1] = defaultGreen;
        masks[2] = defaultBlue;
    }
}

// Pictures of 8 bits or less: each scan line read through GetDIBits as
// blue, green, red.
bool AddPalettedPixels(Octree& tree, HBITMAP bitmap, const DIBSECTION& section)
{
    const int width = section.dsBm.bmWidth;
    const int height = section.dsBm.bmHeight;
    BITMAPINFO info;
    memset(&info, 0, sizeof(info));
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<BYTE> line((static_cast<size_t>(width) * 24 + 31) / 32 * 4);
    HDC screen = GetDC(nullptr);
    bool ok = true;
    for (int y = 0; y < height && ok; ++y) {
        if (GetDIBits(screen, bitmap, y, 1, line.data(), &info, DIB_RGB_COLORS) != 1) {
            ok = false;
            break;
        }
        for (int x = 0; x < width && ok; ++x) {
            const BYTE* pixel = &line[static_cast<size_t>(x) * 3];
            ok = tree.AddPixel(pixel[2], pixel[1], pixel[0]);
        }
    }
    ReleaseDC(nullptr, screen);
    return ok;
}

// Pictures of 16, 24 or 32 bits: straight from the section's rows.
bool AddDirectPixels(Octree& tree, const DIBSECTION& section)
{
    const int width = section.dsBm.bmWidth;
    const int height = section.dsBm.bmHeight;
    const int bits = section.dsBm.bmBitsPixel;
    const BYTE* row = static_cast<const BYTE*>(section.dsBm.bmBits);
    if (!row)
        return false;
    DWORD masks[3];
    if (bits == 16)
        ChannelMasks(section, 0x7C00, 0x03E0, 0x001F, masks);
    else
        ChannelMasks(section, 0xFF0000, 0x00FF00, 0x0000FF, masks);
    const Channel16 red16(masks[0]), green16(masks[1]), blue16(masks[2]);
    const Channel32 red32(masks[0]), green32(masks[1]), blue32(masks[2]);
    for (int y = 0; y < height; ++y, row += section.dsBm.bmWidthBytes) {
        const BYTE* pixel = row;
        for (int x = 0; x < width; ++x) {
            bool ok;
            if (bits == 24) {
                ok = tree.AddPixel(pixel[2], pixel[1], pixel[0]);
                pixel += 3;
            } else if (bits == 16) {
                DWORD value = GetU16LE(pixel);
                ok = tree.AddPixel(red16.Of(value), green16.Of(value), blue16.Of(value));
                pixel += 2;
            } else {
                DWORD value = GetU32LE(pixel);
                ok = tree.AddPixel(red32.Of(value), green32.Of(value), blue32.Of(value));
                pixel += 4;
            }
            if (!ok)
                return false;
        }
    }
    return true;
}

}  // namespace

HPALETTE CreateOctreePalette(HBITMAP section, UINT maxColors, UINT colorBits)
{
    if (colorBits > 8 || maxColors == 0 || !section)
        return nullptr;
    DIBSECTION description;
    memset(&description, 0, sizeof(description));
    if (GetObjectA(section, sizeof(description), &description) != sizeof(description))
        return nullptr;
    Octree tree(maxColors, colorBits);
    bool ok;
    switch (description.dsBm.bmBitsPixel) {
    case 1:
    case 4:
    case 8:
        ok = AddPalettedPixels(tree, section, description);
        break;
    case 16:
    case 24:
    case 32:
        ok = AddDirectPixels(tree, description);
        break;
    default:
        return nullptr;
    }
    if (!ok || tree.LeafCount() > maxColors || tree.LeafCount() == 0)
        return nullptr;
    return tree.MakePalette();
}

HPALETTE CreateOctreePalette(const void* packedDib, UINT maxColors, UINT colorBits)
{
    if (!packedDib || colorBits > 8 || maxColors == 0)
        return nullptr;
    HBITMAP section = CreateDibSection(packedDib);
    if (!section)
        return nullptr;
    HPALETTE palette = CreateOctreePalette(section, maxColors, colorBits);
    DeleteObject(section);
    return palette;
}
