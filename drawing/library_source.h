// An open library file that the records read from it take their images
// from when they are needed, so that loading a folder's library reads only
// the records' fields and memory holds only the thumbnails in use. The file
// is open for reading with others kept from writing it (renaming and
// deleting stay allowed); the records share it, and it closes with the last
// of them.
#pragma once
#include <windows.h>
#include <stdint.h>

#include <memory>

#include "drawing/library_file_reader.h"
#include "platform/classlib/critical_section.h"

class CLibrarySource {
public:
    // The file opened with the library retries; null, and the reason in
    // result, when it cannot be.
    static std::shared_ptr<CLibrarySource> Open(const char* path, LibraryReadResult& result);
    ~CLibrarySource();
    CLibrarySource(const CLibrarySource&) = delete;
    CLibrarySource& operator=(const CLibrarySource&) = delete;

    uint64_t Size() const { return m_size; }
    // True when the handle is open on this same file.
    bool IsSameFile(HANDLE other) const;
    // Exactly `bytes` bytes from the offset; false when they are not all
    // there. Safe from any thread.
    bool ReadAt(uint64_t offset, void* buffer, uint32_t bytes) const;

private:
    CLibrarySource(HANDLE file, uint64_t size);

    HANDLE m_file;
    uint64_t m_size;
    // A read is a seek and a read of the one file position (Wine reads at an
    // offset given with the read forty times slower).
    mutable CCriticalSection m_position;
};
