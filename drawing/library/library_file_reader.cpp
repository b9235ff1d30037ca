#include "drawing/library/library_file_reader.h"

namespace {

const DWORD kRetryDelayMs = 100;
const int kSharingViolationTries = 5;
// Wine reads large requests very slowly; a megabyte at a time it reads at
// the speed of the disk cache.
const DWORD kChunkBytes = 1u << 20;

}  // namespace

HANDLE OpenLibraryFile(const char* path, LibraryShare share, int accessDeniedTries, LibraryReadResult& result)
{
    const DWORD shareMode = share == LibraryShareRead ? FILE_SHARE_READ | FILE_SHARE_DELETE : 0;
    int deniedLeft = accessDeniedTries;
    int violationsLeft = kSharingViolationTries;
    for (;;) {
        HANDLE file = CreateFileA(path, GENERIC_READ, shareMode, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                  nullptr);
        if (file != INVALID_HANDLE_VALUE)
            return file;
        const DWORD error = GetLastError();
        int* left = nullptr;
        if (error == ERROR_ACCESS_DENIED)
            left = &deniedLeft;
        else if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION)
            left = &violationsLeft;
        if (left == nullptr || --*left <= 0) {
            if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
                result = LibraryMissing;
            else
                result = left != nullptr ? LibraryBusy : LibraryUnreadable;
            return INVALID_HANDLE_VALUE;
        }
        Sleep(kRetryDelayMs);
    }
}

LibraryReadResult ReadLibraryFile(const char* path, LibraryShare share, int accessDeniedTries, size_t maxBytes,
                                  std::vector<uint8_t>& bytes)
{
    bytes.clear();
    LibraryReadResult result = LibraryUnreadable;
    HANDLE file = OpenLibraryFile(path, share, accessDeniedTries, result);
    if (file == INVALID_HANDLE_VALUE)
        return result;
    LARGE_INTEGER size;
    bool ok = GetFileSizeEx(file, &size) != FALSE && size.QuadPart >= 0;
    if (ok) {
        const uint64_t wanted = static_cast<uint64_t>(size.QuadPart) < maxBytes ? size.QuadPart : maxBytes;
        try {
            bytes.resize(static_cast<size_t>(wanted));
        } catch (const std::bad_alloc&) {
            ok = false;
        }
        size_t done = 0;
        while (ok && done < bytes.size()) {
            const size_t left = bytes.size() - done;
            DWORD read = 0;
            ok = ReadFile(file, bytes.data() + done, left < kChunkBytes ? static_cast<DWORD>(left) : kChunkBytes,
                          &read, nullptr) != FALSE;
            if (ok && read == 0)
                bytes.resize(done);  // the file shrank while being read
            done += read;
        }
    }
    CloseHandle(file);
    if (!ok) {
        bytes.clear();
        return LibraryUnreadable;
    }
    return LibraryRead;
}
