// A file's bytes mapped read-only into memory by the system beneath Wine.
// Unlike a Win32 file mapping it does not hold the file open in Wine's
// sense: the file can be replaced (renamed over) or deleted while its bytes
// are in use, and the mapping keeps showing the file it was made of. Pages
// are read from the disk cache when first touched, so mapping a large file
// costs next to nothing until its bytes are used. Only files that are
// replaced whole, never rewritten in place, on drives that stay, are fit
// for it: a file cut short while mapped, or a drive gone, would fault on
// the pages not yet touched.
#pragma once
#include <windows.h>
#include <stddef.h>
#include <stdint.h>

#include <memory>

class CMappedFile {
public:
    // Maps the file at the Win32 path when it is the very file `sameAs` is
    // open on (it was not replaced in between); null otherwise. An empty
    // file gives a mapping of no bytes.
    static std::unique_ptr<CMappedFile> Map(const char* path, HANDLE sameAs);
    ~CMappedFile();
    CMappedFile(const CMappedFile&) = delete;
    CMappedFile& operator=(const CMappedFile&) = delete;

    // The file's bytes (null for an empty file) and their number.
    const uint8_t* Bytes() const { return m_bytes; }
    uint64_t Size() const { return m_size; }

private:
    CMappedFile(void* bytes, uint64_t size) : m_bytes(static_cast<uint8_t*>(bytes)), m_size(size) {}

    uint8_t* m_bytes;
    uint64_t m_size;
};
