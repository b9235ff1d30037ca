#include "tests/drawing/library/library_bytes.h"

#include <string.h>

#include "drawing/library/dwg_cache.h"
#include "drawing/library/image_lib.h"
#include "drawing/library/lib_index_tree.h"
#include "drawing/library/save_lib_thread.h"
#include "tests/support/test_files.h"

namespace thumbtest {

namespace {

class Cursor {
public:
    explicit Cursor(const std::string& bytes) : m_bytes(bytes) {}
    bool Take(size_t n, const char* what)
    {
        if (m_at + n > m_bytes.size()) {
            m_problem = std::string("short ") + what;
            return false;
        }
        m_at += n;
        return true;
    }
    uint64_t Number(size_t n, const char* what)
    {
        if (!Take(n, what))
            return 0;
        uint64_t value = 0;
        for (size_t i = 0; i < n; ++i)
            value |= uint64_t(uint8_t(m_bytes[m_at - n + i])) << (8 * i);
        return value;
    }
    std::string Text(const char* what)
    {
        size_t nul = m_bytes.find('\0', m_at);
        if (nul == std::string::npos) {
            m_problem = std::string("no NUL after ") + what;
            m_at = m_bytes.size();
            return std::string();
        }
        std::string text = m_bytes.substr(m_at, nul - m_at);
        m_at = nul + 1;
        return text;
    }
    size_t at() const { return m_at; }
    void Jump(size_t at) { m_at = at; }
    const std::string& problem() const { return m_problem; }

private:
    const std::string& m_bytes;
    size_t m_at = 0;
    std::string m_problem;
};

}  // namespace

bool ParseLibrary(const std::string& bytes, Library& library, std::string& problem)
{
    Cursor cursor(bytes);
    if (bytes.compare(0, 23, "QuorvantixImageCacheLib") != 0 || !cursor.Take(23, "magic")) {
        problem = "magic";
        return false;
    }
    library.version = uint32_t(cursor.Number(4, "version"));
    library.firstRecord = cursor.Number(8, "first record");
    library.folder = cursor.Text("folder");
    library.width = uint32_t(cursor.Number(4, "width"));
    library.height = uint32_t(cursor.Number(4, "height"));
    if (!cursor.problem().empty()) {
        problem = cursor.problem();
        return false;
    }
    if (library.firstRecord != cursor.at()) {
        problem = "first record offset " + std::to_string(library.firstRecord);
        return false;
    }
    library.records.clear();
    while (cursor.at() < bytes.size()) {
        LibraryRecord record;
        const size_t start = cursor.at();
        record.imageOffset = cursor.Number(8, "image offset");
        record.next = cursor.Number(8, "next offset");
        record.name = cursor.Text("name");
        record.time = cursor.Number(8, "time");
        record.size = uint32_t(cursor.Number(4, "size"));
        record.reserved = uint32_t(cursor.Number(4, "reserved"));
        record.width = uint32_t(cursor.Number(4, "width"));
        record.height = uint32_t(cursor.Number(4, "height"));
        if (record.imageOffset != cursor.at()) {
            problem = "image offset of record " + std::to_string(library.records.size());
            return false;
        }
        record.tag = uint32_t(cursor.Number(4, "tag"));
        const size_t bmpStart = cursor.at();
        const uint32_t bmpSize = bytes.size() >= bmpStart + 6 ? uint32_t(uint8_t(bytes[bmpStart + 2])) |
                                                                    uint32_t(uint8_t(bytes[bmpStart + 3])) << 8 |
                                                                    uint32_t(uint8_t(bytes[bmpStart + 4])) << 16 |
                                                                    uint32_t(uint8_t(bytes[bmpStart + 5])) << 24
                                                              : 0;
        if (!cursor.Take(bmpSize, "image") || bytes.compare(bmpStart, 2, "BM") != 0) {
            problem = "image of record " + std::to_string(library.records.size());
            return false;
        }
        record.bmp = bytes.substr(bmpStart, bmpSize);
        if (record.next != cursor.at() || start >= record.next) {
            problem = "next offset of record " + std::to_string(library.records.size());
            return false;
        }
        library.records.push_back(record);
    }
    return true;
}

bool ReadLibrary(const std::string& path, Library& library, std::string& problem)
{
    std::string bytes;
    if (!testfiles::ReadFileBytes(path, bytes)) {
        problem = "cannot read " + path;
        return false;
    }
    return ParseLibrary(bytes, library, problem);
}

std::string SolidBmp(int width, int height, COLORREF colour)
{
    const uint32_t row = (uint32_t(width) * 3 + 3) & ~3u;
    const uint32_t image = row * uint32_t(height);
    std::string bmp(54 + image, '\0');
    auto put = [&](size_t at, uint32_t value, int n) {
        for (int i = 0; i < n; ++i)
            bmp[at + i] = char(value >> (8 * i));
    };
    bmp[0] = 'B';
    bmp[1] = 'M';
    put(2, uint32_t(bmp.size()), 4);
    put(10, 54, 4);
    put(14, 40, 4);
    put(18, uint32_t(width), 4);
    put(22, uint32_t(height), 4);
    put(26, 1, 2);
    put(28, 24, 2);
    put(34, image, 4);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            size_t at = 54 + y * row + x * 3;
            bmp[at] = char(GetBValue(colour));
            bmp[at + 1] = char(GetGValue(colour));
            bmp[at + 2] = char(GetRValue(colour));
        }
    }
    return bmp;
}

uint64_t LocalWriteTime(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return 0;
    FILETIME local;
    FileTimeToLocalFileTime(&data.ftLastWriteTime, &local);
    return uint64_t(local.dwHighDateTime) << 32 | local.dwLowDateTime;
}

void TouchFile(const std::string& path, int seconds)
{
    HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                              OPEN_EXISTING, 0, NULL);
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER value;
    value.LowPart = now.dwLowDateTime;
    value.HighPart = now.dwHighDateTime;
    value.QuadPart += uint64_t(seconds) * 10000000u;
    now.dwLowDateTime = value.LowPart;
    now.dwHighDateTime = value.HighPart;
    SetFileTime(file, NULL, NULL, &now);
    CloseHandle(file);
}

std::string FindNumberedLibrary(const std::string& cacheFolder)
{
    WIN32_FIND_DATAA data;
    HANDLE search = FindFirstFileA((cacheFolder + "\\QuorvantixLib*.qrvlib").c_str(), &data);
    if (search == INVALID_HANDLE_VALUE)
        return std::string();
    FindClose(search);
    return cacheFolder + "\\" + data.cFileName;
}

ScratchCache::ScratchCache(bool readFromBrowserFolderFirst, bool saveInBrowserFolderFirst)
    : m_cacheFolder(testfiles::MakeScratchFolder("cache"))
{
    CreateLibIndexTree(m_cacheFolder.c_str(), saveInBrowserFolderFirst, readFromBrowserFolderFirst);
    CreateDwgCache(true);
}

ScratchCache::~ScratchCache()
{
    DeleteDwgCache();
    DeleteLibIndexTree();
}

bool ScratchCache::WaitForWriter()
{
    TDwgCache* cache = GetDwgCache();
    TImageLib* library = cache ? cache->GetLibrary() : nullptr;
    return library && library->GetWriter() && library->GetWriter()->WaitUntilIdle(10000);
}

}  // namespace thumbtest
