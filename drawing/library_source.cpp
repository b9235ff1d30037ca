#include "drawing/library_source.h"

#include <string.h>

#include <new>

#include "platform/base/mapped_file.h"

namespace {

// A library replaced between the open and the mapping is opened again.
const int kReplacedTries = 3;

}  // namespace

std::shared_ptr<CLibrarySource> CLibrarySource::Open(const char* path, LibraryReadResult& result)
{
    for (int tries = 0; tries < kReplacedTries; ++tries) {
        HANDLE file = OpenLibraryFile(path, LibraryShareRead, kLibraryOpenTries, result);
        if (file == INVALID_HANDLE_VALUE)
            return nullptr;
        std::unique_ptr<CMappedFile> mapped = CMappedFile::Map(path, file);
        CloseHandle(file);
        if (!mapped)
            continue;
        std::shared_ptr<CLibrarySource> source(new (std::nothrow) CLibrarySource(std::move(mapped)));
        result = source ? LibraryRead : LibraryUnreadable;
        return source;
    }
    result = LibraryUnreadable;
    return nullptr;
}

CLibrarySource::CLibrarySource(std::unique_ptr<CMappedFile> mapped) : m_mapped(std::move(mapped)) {}

CLibrarySource::~CLibrarySource() = default;

uint64_t CLibrarySource::Size() const
{
    return m_mapped->Size();
}

const uint8_t* CLibrarySource::At(uint64_t offset, uint32_t bytes) const
{
    return m_mapped->At(offset, bytes);
}

bool CLibrarySource::ReadAt(uint64_t offset, void* buffer, uint32_t bytes) const
{
    if (bytes == 0)
        return offset <= Size();
    const uint8_t* place = At(offset, bytes);
    if (!place)
        return false;
    memcpy(buffer, place, bytes);
    return true;
}
