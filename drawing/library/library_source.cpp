#include "drawing/library/library_source.h"

#include <ctype.h>
#include <stddef.h>
#include <string.h>

#include <limits>
#include <new>

#include "platform/base/mapped_file.h"

namespace {

// A library replaced between the open and the mapping is opened again.
const int kReplacedTries = 3;

// A path on a drive whose files stay there while mapped: fixed disks and
// RAM disks, named by their drive letter.
bool IsOnFixedDrive(const char* path)
{
    if (!isalpha(static_cast<unsigned char>(path[0])) || path[1] != ':' || path[2] != '\\')
        return false;
    const char root[4] = {path[0], ':', '\\', '\0'};
    const UINT kind = GetDriveTypeA(root);
    return kind == DRIVE_FIXED || kind == DRIVE_RAMDISK;
}

std::shared_ptr<CLibrarySource> Wrap(CLibrarySource* source, LibraryReadResult& result)
{
    result = source ? LibraryRead : LibraryUnreadable;
    return std::shared_ptr<CLibrarySource>(source);
}

}  // namespace

std::shared_ptr<CLibrarySource> CLibrarySource::Open(const char* path, LibraryReadResult& result)
{
    if (!IsOnFixedDrive(path)) {
        std::vector<uint8_t> bytes;
        result = ReadLibraryFile(path, LibraryShareRead, kLibraryOpenTries,
                                 std::numeric_limits<size_t>::max(), bytes);
        if (result != LibraryRead)
            return nullptr;
        return Wrap(new (std::nothrow) CLibrarySource(std::move(bytes)), result);
    }
    for (int tries = 0; tries < kReplacedTries; ++tries) {
        HANDLE file = OpenLibraryFile(path, LibraryShareRead, kLibraryOpenTries, result);
        if (file == INVALID_HANDLE_VALUE)
            return nullptr;
        std::unique_ptr<CMappedFile> mapped = CMappedFile::Map(path, file);
        CloseHandle(file);
        if (mapped)
            return Wrap(new (std::nothrow) CLibrarySource(std::move(mapped)), result);
    }
    result = LibraryUnreadable;
    return nullptr;
}

CLibrarySource::CLibrarySource(std::unique_ptr<CMappedFile> mapped)
    : m_mapped(std::move(mapped)), m_bytes(m_mapped->Bytes()), m_size(m_mapped->Size())
{
}

CLibrarySource::CLibrarySource(std::vector<uint8_t> read)
    : m_read(std::move(read)), m_bytes(m_read.data()), m_size(m_read.size())
{
}

CLibrarySource::~CLibrarySource() = default;

const uint8_t* CLibrarySource::At(uint64_t offset, uint32_t bytes) const
{
    if (!m_bytes || offset > m_size || bytes > m_size - offset)
        return nullptr;
    return m_bytes + offset;
}

bool CLibrarySource::ReadAt(uint64_t offset, void* buffer, uint32_t bytes) const
{
    if (bytes == 0)
        return offset <= m_size;
    const uint8_t* place = At(offset, bytes);
    if (!place)
        return false;
    memcpy(buffer, place, bytes);
    return true;
}
