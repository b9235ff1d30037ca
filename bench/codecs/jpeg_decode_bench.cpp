// Decodes every JPEG file of a folder at full size and at 1/8 scale and
// prints the mean time per decode. Run it through bench/codecs/jpeg_bench.sh,
// which times djpeg -scale 1/8 on the same files beside it.
//
//   jpeg_decode_bench.exe <folder> [repeats]
#include <stdio.h>
#include <stdlib.h>

#include <string>
#include <vector>

#include <windows.h>

#include "codecs/ximage.h"

namespace {

bool ReadWholeFile(const std::string& path, std::string& bytes)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD size = GetFileSize(file, NULL);
    bytes.resize(size);
    DWORD read = 0;
    bool ok = size == INVALID_FILE_SIZE ? false
              : size == 0              ? true
                                       : ReadFile(file, &bytes[0], size, &read, NULL) && read == size;
    CloseHandle(file);
    return ok;
}

// Mean milliseconds of one decode at the given scale; -1 when it fails.
double TimeDecode(std::string& bytes, BYTE scale, int repeats, DWORD* width, DWORD* height)
{
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    for (int i = 0; i < repeats; ++i) {
        CxImage image;
        image.SetJpegScale(scale);
        if (!image.Decode((BYTE*)&bytes[0], (DWORD)bytes.size(), CXIMAGE_FORMAT_JPG)) {
            fprintf(stderr, "decode failed: %s\n", image.GetLastError());
            return -1;
        }
        *width = image.GetWidth();
        *height = image.GetHeight();
    }
    QueryPerformanceCounter(&end);
    return 1000.0 * (double)(end.QuadPart - start.QuadPart) / frequency.QuadPart / repeats;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        fprintf(stderr, "usage: jpeg_decode_bench <folder> [repeats]\n");
        return 2;
    }
    std::string folder = argv[1];
    int repeats = argc > 2 ? atoi(argv[2]) : 5;
    if (repeats < 1)
        repeats = 1;
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*.jpg").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            names.push_back(found.cFileName);
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    if (names.empty()) {
        fprintf(stderr, "no .jpg files in %s\n", folder.c_str());
        return 1;
    }
    printf("%-28s %11s %9s %11s %9s\n", "file", "full", "ms", "1/8", "ms");
    for (const std::string& name : names) {
        std::string bytes;
        if (!ReadWholeFile(folder + "\\" + name, bytes)) {
            fprintf(stderr, "cannot read %s\n", name.c_str());
            continue;
        }
        DWORD fullWidth = 0, fullHeight = 0, width = 0, height = 0;
        double full = TimeDecode(bytes, 1, repeats, &fullWidth, &fullHeight);
        double eighth = TimeDecode(bytes, 8, repeats, &width, &height);
        printf("%-28s %5ux%-5u %9.2f %5ux%-5u %9.2f\n", name.c_str(), (unsigned)fullWidth,
               (unsigned)fullHeight, full, (unsigned)width, (unsigned)height, eighth);
    }
    return 0;
}
