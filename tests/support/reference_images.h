// Reference files written by other programs (ImageMagick, cjpeg, tiffcp,
// opj_compress, ...) for the codec tests: a fixture script kept beside the
// tests writes them into a scratch folder, each with a dump of its pixels
// as the other program reads them (NAME.rgb: rows from the top, red,
// green, blue, 8 bits each).
#pragma once
// GoogleTest comes first: the standard headers must not meet the Win32
// min and max macros before it.
#include "tests/support/gtest.h"

#include <string>

#include "codecs/ximage.h"

namespace codectest {

class ReferenceFolder {
public:
    // Runs /bin/sh tests/codecs/<script> [<arguments>] <folder> into a new
    // scratch folder.
    explicit ReferenceFolder(const std::string& script, const std::string& arguments = "");

    bool Ready() const { return m_exitCode == 0; }
    int ExitCode() const { return m_exitCode; }
    std::string Path(const std::string& name) const { return m_folder + "\\" + name; }
    std::string UnixPath(const std::string& name) const;
    // The bytes of a file in the folder; empty when it cannot be read.
    std::string Bytes(const std::string& name) const;

private:
    std::string m_folder;
    int m_exitCode;
};

// The folder of a script and its arguments, made on first use and kept for
// the rest of the run, so that the tests of one format share one run.
const ReferenceFolder& SharedReferenceFolder(const std::string& script,
                                             const std::string& arguments = "");

// A test suite over the shared files of one fixture script:
//   class PngReference : public codectest::ReferenceSuite<PngReference> {
//   public:
//       static const char* Script() { return "make_png_fixtures.sh"; }
//   };
template <class Suite>
class ReferenceSuite : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(Files().Ready()) << Files().ExitCode(); }
    static const ReferenceFolder& Files() { return SharedReferenceFolder(Suite::Script()); }
    static std::string Bytes(const std::string& name) { return Files().Bytes(name); }
};

// The number of pixels whose red, green or blue differs from the dump by
// more than `tolerance`; -1 when the dump does not have the image's size.
int CountDifferentPixels(const CxImage& image, const std::string& rgb, int tolerance = 0);

// ImageMagick's reading of a file (Win32 path) as an RGB dump; empty when
// ImageMagick fails.
std::string ReadWithImageMagick(const std::string& file);

// Decodes bytes with a format id; encodes an image into bytes (empty on
// failure).
bool DecodeBytes(const std::string& bytes, CxImage& image, DWORD type);
std::string EncodeBytes(CxImage& image, DWORD type);

// The bytes GDI writes for a 30 x 20 enhanced metafile of one rectangle.
std::string RectangleMetafile();

// RGBA readings, for formats with transparency, orientation or frames:
// ImageMagick's reading of a file, frame `frame` composed over the earlier
// ones and turned upright, as rows from the top of red, green, blue and
// alpha (NAME-<frame>.rgba in make_hand_fixtures.sh); frame -1 is the
// last one.
bool ReadWithImageMagickRgba(const std::string& file, std::string& rgba, int frame = 0);

struct PixelCheck {
    bool compareAlpha = false;  // also compare the alpha plane (255 without one)
    int tolerance = 0;          // largest difference of a channel
};

// The number of pixels that differ from an RGBA reading; pixels that the
// reading has fully transparent only count with compareAlpha. A reading of
// another size counts every pixel.
int CountMismatches(const CxImage& image, const std::string& rgba,
                    const PixelCheck& check = PixelCheck());

// A file's bytes decoded with a format id.
bool DecodeFileAs(const std::string& file, DWORD type, CxImage& image);

}  // namespace codectest
