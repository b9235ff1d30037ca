// A file's bytes mapped read-only into memory by the system beneath Wine.
// Unlike a Win32 file mapping it does not hold the file open in Wine's
// sense: the file can be replaced (renamed over) or deleted while its bytes
// are in use, and the mapping keeps showing the file it was made of. Pages
// are read from the disk cache when first touched, so mapping a large file
// costs next to nothing until its bytes are used. Writers that replace the
// whole file are safe; a file cut short in place while mapped would fault
// on its lost pages, which is why the caller first opens the file with
// writers kept out.
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
