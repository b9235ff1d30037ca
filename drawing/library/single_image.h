// One cached thumbnail of a library: the file it belongs to (name, local
// last-write time, size), the thumbnail size it was made for, and the
// thumbnail as a BMP file image: held in memory when it was made in this
// run, else in the library file it came from.
#pragma once
#include <windows.h>
#include <stdint.h>

#include <memory>
#include <vector>

#include "platform/classlib/cstring.h"
#include "platform/classlib/object.h"

class CLibrarySource;
class KBMP;

class TSingleImage : public CObject {
public:
    TSingleImage() = default;
    ~TSingleImage() override;

    // True when the record has an image made for width x height of the
    // file at path as it is now (name without regard to case, local
    // last-write time and size). fileName is the file name of path.
    bool Matches(const char* path, const CString& fileName, int width, int height) const;
    // Takes the file's name, time and size and a copy of the image; false
    // when the copy fails.
    bool Set(const char* path, const KBMP& thumbnail);
    // The image into out (box size not set): a copy of the one made in this
    // run, or the library file's own bytes lent from its mapping. False when
    // there is none or the library file holds no whole BMP image there (the
    // record then has no image).
    bool GetImage(KBMP& out);
    // One record of the library at position, which then moves to the next
    // record. False when the record is damaged: an offset backwards or past
    // the record, a name without its NUL, or missing bytes. A record whose
    // image is not a BMP file image within the record has no image.
    bool Read(const std::shared_ptr<CLibrarySource>& source, uint64_t& position);
    // Appends the record, written at file offset `position`, to out; false
    // when it is skipped (no image, its image cannot be read, or its file is
    // gone unless force or used).
    bool Write(std::vector<uint8_t>& out, uint64_t position, const char* folder, bool force) const;

    bool HasImage() const { return image != nullptr || m_source != nullptr; }

    CString name;
    FILETIME time = {0, 0};
    uint32_t size = 0;
    uint32_t reserved = 0;
    uint32_t width = 0;
    uint32_t height = 0;
    BYTE used = 0;
    // The image made in this run; null for an image still in the library.
    KBMP* image = nullptr;

private:
    // The library file and where the record's BMP image lies in it.
    std::shared_ptr<CLibrarySource> m_source;
    uint64_t m_imageOffset = 0;
    uint32_t m_imageSize = 0;
};

// The local last-write time and the low 32 bits of the size of a file;
// false when there is no such file.
bool GetFileStamp(const char* path, FILETIME& time, uint32_t& size);
