#include "tests/support/reference_images.h"

#include <stdlib.h>

#include <map>
#include <memory>

#include "codecs/xmemfile.h"
#include "tests/support/test_files.h"
#include "tests/support/unix_tools.h"

namespace codectest {

ReferenceFolder::ReferenceFolder(const std::string& script, const std::string& arguments)
    : m_exitCode(-1)
{
    m_folder = testfiles::MakeScratchFolder("fixtures");
    if (m_folder.empty())
        return;
    m_exitCode = RunUnixProgram("/bin/sh " + testfiles::SourceDir() + "/tests/codecs/" +
                                script + " " + (arguments.empty() ? "" : arguments + " ") +
                                codectest::UnixPath(m_folder));
}

std::string ReferenceFolder::UnixPath(const std::string& name) const
{
    return codectest::UnixPath(Path(name));
}

std::string ReferenceFolder::Bytes(const std::string& name) const
{
    std::string bytes;
    if (!testfiles::ReadFileBytes(Path(name), bytes))
        bytes.clear();
    return bytes;
}

const ReferenceFolder& SharedReferenceFolder(const std::string& script,
                                             const std::string& arguments)
{
    static std::map<std::string, std::unique_ptr<ReferenceFolder>> folders;
    std::unique_ptr<ReferenceFolder>& folder = folders[script + " " + arguments];
    if (!folder)
        folder.reset(new ReferenceFolder(script, arguments));
    return *folder;
}

int CountDifferentPixels(const CxImage& image, const std::string& rgb, int tolerance)
{
    DWORD width = image.GetWidth(), height = image.GetHeight();
    if ((size_t)width * height * 3 != rgb.size())
        return -1;
    int wrong = 0;
    for (DWORD row = 0; row < height; ++row) {
        for (DWORD x = 0; x < width; ++x) {
            const BYTE* expected = (const BYTE*)rgb.data() + 3 * ((size_t)row * width + x);
            RGBQUAD got = image.GetPixelColor(x, height - 1 - row, false);
            if (abs(got.rgbRed - expected[0]) > tolerance ||
                abs(got.rgbGreen - expected[1]) > tolerance ||
                abs(got.rgbBlue - expected[2]) > tolerance)
                ++wrong;
        }
    }
    return wrong;
}

std::string ReadWithImageMagick(const std::string& file)
{
    std::string dump = file + ".dump.rgb";
    if (RunUnixProgram("/usr/bin/convert " + codectest::UnixPath(file) +
                       " -alpha off -depth 8 rgb:" + codectest::UnixPath(dump)) != 0)
        return std::string();
    std::string bytes;
    testfiles::ReadFileBytes(dump, bytes);
    return bytes;
}

bool DecodeBytes(const std::string& bytes, CxImage& image, DWORD type)
{
    CxMemFile stream((BYTE*)bytes.data(), (DWORD)bytes.size());
    return image.Decode(&stream, type);
}

std::string EncodeBytes(CxImage& image, DWORD type)
{
    CxMemFile stream;
    if (!stream.Open() || !image.Encode(&stream, type))
        return std::string();
    return std::string((const char*)stream.GetBuffer(false), stream.Size());
}

std::string RectangleMetafile()
{
    HDC dc = CreateEnhMetaFileA(NULL, NULL, NULL, NULL);
    Rectangle(dc, 0, 0, 30, 20);
    HENHMETAFILE metafile = CloseEnhMetaFile(dc);
    std::string bytes(GetEnhMetaFileBits(metafile, 0, NULL), '\0');
    GetEnhMetaFileBits(metafile, (UINT)bytes.size(), (BYTE*)&bytes[0]);
    DeleteEnhMetaFile(metafile);
    return bytes;
}

bool ReadWithImageMagickRgba(const std::string& file, std::string& rgba, int frame)
{
    std::string dump = file + ".dump";
    if (RunUnixProgram("/usr/bin/convert " + codectest::UnixPath(file) +
                       " -coalesce -auto-orient -depth 8 rgba:" + codectest::UnixPath(dump) +
                       "-%d") != 0)
        return false;
    if (frame < 0) {
        frame = 0;
        std::string next = dump + "-1";
        while (GetFileAttributesA(next.c_str()) != INVALID_FILE_ATTRIBUTES)
            next = dump + "-" + std::to_string(++frame + 1);
    }
    return testfiles::ReadFileBytes(dump + "-" + std::to_string(frame), rgba);
}

int CountMismatches(const CxImage& image, const std::string& rgba, const PixelCheck& check)
{
    DWORD width = image.GetWidth(), height = image.GetHeight();
    if (rgba.size() != (size_t)width * height * 4)
        return width && height ? (int)(width * height) : 1;
    int wrong = 0;
    for (DWORD row = 0; row < height; ++row) {
        for (DWORD x = 0; x < width; ++x) {
            const BYTE* expected = (const BYTE*)rgba.data() + 4 * ((size_t)row * width + x);
            DWORD y = height - 1 - row;
            RGBQUAD got = image.GetPixelColor(x, y, false);
            int gotAlpha = image.AlphaIsValid() ? image.AlphaGet(x, y) : 255;
            bool differs = false;
            if (expected[3] != 0 || check.compareAlpha) {
                differs = abs(got.rgbRed - expected[0]) > check.tolerance ||
                          abs(got.rgbGreen - expected[1]) > check.tolerance ||
                          abs(got.rgbBlue - expected[2]) > check.tolerance;
            }
            if (check.compareAlpha && abs(gotAlpha - expected[3]) > check.tolerance)
                differs = true;
            if (differs)
                ++wrong;
        }
    }
    return wrong;
}

bool DecodeFileAs(const std::string& file, DWORD type, CxImage& image)
{
    std::string bytes;
    return testfiles::ReadFileBytes(file, bytes) && DecodeBytes(bytes, image, type);
}

}  // namespace codectest
