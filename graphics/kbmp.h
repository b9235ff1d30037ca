// KBMP: one thumbnail held as a complete BMP file image in memory (file
// header, info header, colour table and pixel rows in one block), exactly
// as a .bmp file stores it.
#pragma once
#include <windows.h>

#include <memory>

class CFile;

class KBMP {
public:
    KBMP();
    virtual ~KBMP();

    // Keeps the image when it is a whole, usable BMP file image; otherwise
    // frees it (unless borrowed) and leaves the image empty, giving false.
    // No image at all is valid.
    bool Check();
    // Frees the old image and takes the block, owned unless borrowed is set.
    bool Attach(BYTE* block, bool borrowed);
    // Frees the old image and uses the block in place, unchanged: it stays
    // valid while the keeper lives, and the image holds the keeper.
    bool Lend(const BYTE* block, std::shared_ptr<const void> keeper);
    // Frees the image unless borrowed; the image is then empty.
    void Free();
    // An owned copy of the other image with its box size; false when the
    // other image is empty or memory runs out.
    bool Copy(const KBMP& other);

    // The whole file image to a class-library file; false without an image
    // or on a file exception.
    bool Write(CFile* file) const;
    // A file image from a class-library file, checked against its sizes;
    // false (and no image) when it is damaged or a file exception occurs.
    bool Read(CFile* file);
    // Writes the file image as a .bmp file.
    bool Save(const char* path) const;

    // Paints the picture into rect: fitted and centred, never enlarged,
    // unless stretch is set. rect becomes the painted rectangle. Returns the
    // scan lines painted (0 on failure).
    int Draw(HDC dc, RECT* rect, bool stretch) const;

    // The size of the held picture, 0 when there is none.
    int GetWidth() const;
    int GetHeight() const;
    // The size of the whole file image (its bfSize), 0 when there is none.
    DWORD GetFileSize() const;

    // The BMP file image (beginning with "BM"); owned unless borrowed.
    BYTE* data;
    // data + 14, null when there is no image.
    BITMAPINFO* info;
    // The thumbnail size the image was made for.
    int boxWidth;
    int boxHeight;
    // The block belongs to somebody else and is never freed here.
    bool borrowed;

private:
    // Holds a lent block's memory.
    std::shared_ptr<const void> m_keeper;

    KBMP(const KBMP&) = delete;
    KBMP& operator=(const KBMP&) = delete;
};

// The scale that fits width x height into the box: the smaller of the two
// ratios, never above 1.0 (1.0 for an empty picture).
double CalcFitScale(int width, int height, int boxWidth, int boxHeight);
