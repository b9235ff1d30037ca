#include "platform/base/mapped_file.h"

#include "platform/native/native_begin.h"
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#include "platform/native/native_end.h"

#include <new>
#include <string>

#include "platform/base/unix_path.h"

namespace {

// Wine gives a file's inode number as its Win32 file index.
bool IsFileOfHandle(const struct stat& status, HANDLE file)
{
    BY_HANDLE_FILE_INFORMATION information;
    if (!GetFileInformationByHandle(file, &information))
        return false;
    const uint64_t index = (uint64_t(information.nFileIndexHigh) << 32) | information.nFileIndexLow;
    const uint64_t size = (uint64_t(information.nFileSizeHigh) << 32) | information.nFileSizeLow;
    return index == uint64_t(status.st_ino) && size == uint64_t(status.st_size);
}

}  // namespace

std::unique_ptr<CMappedFile> CMappedFile::Map(const char* path, HANDLE sameAs)
{
    std::string unixPath;
    if (!GetUnixPath(path, &unixPath))
        return nullptr;
    const int descriptor = open(unixPath.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0)
        return nullptr;
    struct stat status;
    void* bytes = nullptr;
    bool ok = fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode) && IsFileOfHandle(status, sameAs);
    if (ok && status.st_size > 0) {
        bytes = mmap(nullptr, size_t(status.st_size), PROT_READ, MAP_SHARED, descriptor, 0);
        ok = bytes != MAP_FAILED;
    }
    // The mapping lives on without the descriptor.
    close(descriptor);
    if (!ok)
        return nullptr;
    const uint64_t size = bytes ? uint64_t(status.st_size) : 0;
    std::unique_ptr<CMappedFile> mapped(new (std::nothrow) CMappedFile(bytes, size));
    if (!mapped && bytes)
        munmap(bytes, size_t(size));
    return mapped;
}

CMappedFile::~CMappedFile()
{
    if (m_bytes)
        munmap(m_bytes, size_t(m_size));
}
