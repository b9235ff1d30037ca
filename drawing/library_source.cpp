#include "drawing/library_source.h"

#include <new>

std::shared_ptr<CLibrarySource> CLibrarySource::Open(const char* path, LibraryReadResult& result)
{
    HANDLE file = OpenLibraryFile(path, LibraryShareRead, kLibraryOpenTries, result);
    if (file == INVALID_HANDLE_VALUE)
        return nullptr;
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file, &size) || size.QuadPart < 0) {
        CloseHandle(file);
        result = LibraryUnreadable;
        return nullptr;
    }
    std::shared_ptr<CLibrarySource> source(new (std::nothrow) CLibrarySource(file, uint64_t(size.QuadPart)));
    if (!source) {
        CloseHandle(file);
        result = LibraryUnreadable;
        return nullptr;
    }
    result = LibraryRead;
    return source;
}

CLibrarySource::CLibrarySource(HANDLE file, uint64_t size) : m_file(file), m_size(size)
{
}

CLibrarySource::~CLibrarySource()
{
    CloseHandle(m_file);
}

bool CLibrarySource::ReadAt(uint64_t offset, void* buffer, uint32_t bytes) const
{
    if (offset > m_size || bytes > m_size - offset)
        return false;
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(offset);
    DWORD read = 0;
    CSingleLock hold(&m_position, TRUE);
    return SetFilePointerEx(m_file, at, nullptr, FILE_BEGIN) && ReadFile(m_file, buffer, bytes, &read, nullptr) &&
           read == bytes;
}

bool CLibrarySource::IsSameFile(HANDLE other) const
{
    BY_HANDLE_FILE_INFORMATION mine, theirs;
    return GetFileInformationByHandle(m_file, &mine) && GetFileInformationByHandle(other, &theirs) &&
           mine.dwVolumeSerialNumber == theirs.dwVolumeSerialNumber && mine.nFileIndexHigh == theirs.nFileIndexHigh &&
           mine.nFileIndexLow == theirs.nFileIndexLow;
}
