// An open library file that the records read from it take their images
// from when they are needed, so that loading a folder's library reads only
// the records' fields. The file is opened for reading with others kept
// from writing it, as the library retries allow, and then mapped into
// memory; a library on a drive that may go away (removable or network),
// whose pages could be missing when first touched, is read whole instead.
// Either way the records' images are lent from the source without a copy,
// and the source does not keep the file from being replaced or deleted
// meanwhile. The records share the source, as do the thumbnails lent from
// it; it goes with the last of them.
#pragma once
#include <windows.h>
#include <stdint.h>

#include <memory>
#include <vector>

#include "drawing/library/library_file_reader.h"

class CMappedFile;

class CLibrarySource {
public:
    // The file opened with the library retries and mapped or read; null,
    // and the reason in result, when it cannot be.
    static std::shared_ptr<CLibrarySource> Open(const char* path, LibraryReadResult& result);
    ~CLibrarySource();
    CLibrarySource(const CLibrarySource&) = delete;
    CLibrarySource& operator=(const CLibrarySource&) = delete;

    uint64_t Size() const { return m_size; }
    // The `bytes` bytes at the offset in place, or null when they are not
    // all there. Safe from any thread.
    const uint8_t* At(uint64_t offset, uint32_t bytes) const;
    // Copies exactly `bytes` bytes from the offset; false when they are not
    // all there. Safe from any thread.
    bool ReadAt(uint64_t offset, void* buffer, uint32_t bytes) const;

private:
    explicit CLibrarySource(std::unique_ptr<CMappedFile> mapped);
    explicit CLibrarySource(std::vector<uint8_t> read);

    std::unique_ptr<CMappedFile> m_mapped;
    std::vector<uint8_t> m_read;
    const uint8_t* m_bytes;
    uint64_t m_size;
};
