// Test helpers for the thumbnail library: an independent reader of library
// files (the bytes parsed field by field as the format lays them out, not
// through the classes under test), small BMP file images, and a scratch
// cache (the process-wide thumbnail cache and library index over scratch
// folders).
#pragma once
#include <windows.h>
#include <stdint.h>

#include <string>
#include <vector>

namespace thumbtest {

struct LibraryRecord {
    uint64_t imageOffset = 0;
    uint64_t next = 0;
    std::string name;
    uint64_t time = 0;
    uint32_t size = 0;
    uint32_t reserved = 0;
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t tag = 0;
    std::string bmp;
};

struct Library {
    uint32_t version = 0;
    uint64_t firstRecord = 0;
    std::string folder;
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<LibraryRecord> records;
};

// Parses a whole library file; false (with a message) at the first field
// that does not hold, or when bytes are left after the last record.
bool ParseLibrary(const std::string& bytes, Library& library, std::string& problem);
bool ReadLibrary(const std::string& path, Library& library, std::string& problem);

// A 24-bit BMP file image of one colour.
std::string SolidBmp(int width, int height, COLORREF colour);
// The local last-write time of a file as the library stores it.
uint64_t LocalWriteTime(const std::string& path);
// Sets a file's last-write time to now plus the seconds.
void TouchFile(const std::string& path, int seconds);

// The library file of the index (the one numbered file of the cache folder).
std::string FindNumberedLibrary(const std::string& cacheFolder);

// Makes the process's cache and library index over a new scratch cache
// folder for the test's length, and deletes both at the end.
class ScratchCache {
public:
    explicit ScratchCache(bool readFromBrowserFolderFirst = true, bool saveInBrowserFolderFirst = false);
    ~ScratchCache();
    const std::string& CacheFolder() const { return m_cacheFolder; }
    // Waits until the library writer has written everything handed to it.
    bool WaitForWriter();

private:
    std::string m_cacheFolder;
};

}  // namespace thumbtest
