// One cached thumbnail of a library: the file it belongs to (name, local
// last-write time, size), the thumbnail size it was made for, and the
// thumbnail as a BMP file image.
#pragma once
#include <windows.h>
#include <stdint.h>

#include <memory>
#include <vector>

#include "platform/classlib/cstring.h"
#include "platform/classlib/object.h"

class CByteReader;
class KBMP;

// The whole bytes of a library file; records read from it borrow their
// images from it and keep it alive.
typedef std::shared_ptr<const std::vector<uint8_t>> TLibFileBytes;

class TSingleImage : public CObject {
public:
    TSingleImage() = default;
    ~TSingleImage() override;

    // True when the record has an image made for width x height of the
    // file at path as it is now (name without regard to case, local
    // last-write time and size). name is the file name of path.
    bool Matches(const char* path, const CString& fileName, int width, int height) const;
    // Takes the file's name, time and size and a copy of the image; false
    // when the copy fails.
    bool Set(const char* path, const KBMP& thumbnail);

    // One record at the reader's position; the reader is then at the next
    // record. False, with the reader's position undefined, when the record is
    // damaged: an offset backwards or past the record, a name without its
    // NUL, or missing bytes. An image that does not check leaves the record
    // without one.
    bool Read(CByteReader& reader, const TLibFileBytes& file);
    // Appends the record, written at file offset `position`, to out; false
    // when it is skipped (no image, or the file is gone unless force or used).
    bool Write(std::vector<uint8_t>& out, uint64_t position, const char* folder, bool force) const;

    CString name;
    FILETIME time = {0, 0};
    uint32_t size = 0;
    uint32_t reserved = 0;
    uint32_t width = 0;
    uint32_t height = 0;
    BYTE used = 0;
    KBMP* image = nullptr;

private:
    // The library bytes the image borrows from, if it does.
    TLibFileBytes m_file;
};

// The local last-write time and the low 32 bits of the size of a file;
// false when there is no such file.
bool GetFileStamp(const char* path, FILETIME& time, uint32_t& size);
