#include "graphics/jpeg_writer.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "platform/base/file_replace.h"
#include "graphics/dib.h"
#include "graphics/dib_export.h"
#include "graphics/dib_format.h"

#include "platform/native/native_begin.h"
#include <jpeglib.h>
#include <jerror.h>
#include "platform/native/native_end.h"

namespace {

// libjpeg's error manager with a fatal-error exit that returns to the writer.
struct JpegErrorManager {
    jpeg_error_mgr standard;
    jmp_buf resume;
};

void ShowFatalError(j_common_ptr info)
{
    char message[JMSG_LENGTH_MAX];
    (*info->err->format_message)(info, message);
    MessageBoxA(nullptr, message, "JPEG Fatal Error", MB_OK | MB_ICONERROR);
    longjmp(reinterpret_cast<JpegErrorManager*>(info->err)->resume, 1);
}

// A destination that collects the compressed bytes in a vector.
struct VectorDestination {
    jpeg_destination_mgr manager;
    std::vector<BYTE>* output;
    JOCTET buffer[65536];
};

VectorDestination* DestinationOf(j_compress_ptr info)
{
    return reinterpret_cast<VectorDestination*>(info->dest);
}

bool AppendBytes(std::vector<BYTE>& output, const JOCTET* bytes, size_t count)
{
    try {
        output.insert(output.end(), bytes, bytes + count);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

void FailOutOfMemory(j_compress_ptr info)
{
    info->err->msg_code = JERR_OUT_OF_MEMORY;
    (*info->err->error_exit)(reinterpret_cast<j_common_ptr>(info));
}

void StartDestination(j_compress_ptr info)
{
    VectorDestination* destination = DestinationOf(info);
    destination->manager.next_output_byte = destination->buffer;
    destination->manager.free_in_buffer = sizeof(destination->buffer);
}

jpeg_boolean EmptyDestination(j_compress_ptr info)
{
    VectorDestination* destination = DestinationOf(info);
    if (!AppendBytes(*destination->output, destination->buffer, sizeof(destination->buffer)))
        FailOutOfMemory(info);
    StartDestination(info);
    return TRUE;
}

void EndDestination(j_compress_ptr info)
{
    VectorDestination* destination = DestinationOf(info);
    size_t used = sizeof(destination->buffer) - destination->manager.free_in_buffer;
    if (!AppendBytes(*destination->output, destination->buffer, used))
        FailOutOfMemory(info);
}

// 0.299 red + 0.587 green + 0.114 blue, rounded to the nearest level.
BYTE GreyOf(const BYTE* rgb)
{
    return static_cast<BYTE>((299 * rgb[0] + 587 * rgb[1] + 114 * rgb[2] + 500) / 1000);
}

// Compresses the rows into output; false after a libjpeg error. Kept free
// of C++ objects with destructors: a fatal error jumps back here.
bool Compress(const BYTE* rows, int width, int height, int components, int quality, int density,
              std::vector<BYTE>& output)
{
    jpeg_compress_struct info;
    JpegErrorManager errors;
    info.err = jpeg_std_error(&errors.standard);
    errors.standard.error_exit = ShowFatalError;
    if (setjmp(errors.resume)) {
        jpeg_destroy_compress(&info);
        return false;
    }
    jpeg_create_compress(&info);
    VectorDestination* destination = static_cast<VectorDestination*>((*info.mem->alloc_small)(
        reinterpret_cast<j_common_ptr>(&info), JPOOL_PERMANENT, sizeof(VectorDestination)));
    destination->manager.init_destination = StartDestination;
    destination->manager.empty_output_buffer = EmptyDestination;
    destination->manager.term_destination = EndDestination;
    destination->output = &output;
    info.dest = &destination->manager;

    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = components;
    info.in_color_space = components == 3 ? JCS_RGB : JCS_GRAYSCALE;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    info.density_unit = 1;
    info.X_density = static_cast<UINT16>(density);
    info.Y_density = static_cast<UINT16>(density);
    jpeg_start_compress(&info, TRUE);
    const size_t stride = static_cast<size_t>(width) * components;
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(rows + stride * info.next_scanline);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return true;
}

}  // namespace

CJpeg::CJpeg() : m_pDib(nullptr), m_strError("No Error")
{
}

CJpeg::~CJpeg()
{
    delete m_pDib;
}

bool CJpeg::WriteRgb(const char* path, const BYTE* rgb, int width, int height, bool colour,
                     int quality, int density)
{
    if (!rgb || width <= 0 || height <= 0)
        return false;
    if (width > JPEG_MAX_DIMENSION || height > JPEG_MAX_DIMENSION) {
        m_strError = "JPEG: a size above 65500";
        return false;
    }
    const size_t pixels = static_cast<size_t>(width) * static_cast<size_t>(height);
    std::vector<BYTE> grey;
    if (!colour) {
        try {
            grey.resize(pixels);
        } catch (const std::bad_alloc&) {
            m_strError = "Memory error";
            return false;
        }
        for (size_t i = 0; i < pixels; ++i)
            grey[i] = GreyOf(rgb + i * 3);
    }
    std::vector<BYTE> compressed;
    if (!Compress(colour ? rgb : grey.data(), width, height, colour ? 3 : 1, quality, density,
                  compressed))
        return false;
    if (compressed.size() > 0xFFFFFFFFu) {
        m_strError = "Memory error";
        return false;
    }
    ReplaceFileResult result = ReplaceFileWithBytes(path, compressed.data(),
                                                    static_cast<DWORD>(compressed.size()));
    if (result == ReplaceFileDone)
        return true;
    const bool opened = result == ReplaceFileCannotWrite || result == ReplaceFileCannotRename;
    char message[1024];
    snprintf(message, sizeof(message),
             opened ? "JpegFile :\nCan't write %s\n" : "JpegFile :\nCan't open %s\n", path);
    m_strError = message;
    return false;
}

bool CJpeg::SaveDib(const char* path, CDib* dib, bool colour, int quality)
{
    CDib copy;
    if (!CopyPictureInto(dib, m_pDib, copy)) {
        m_strError = "No picture to write";
        return false;
    }
    const CDib* source = dib ? dib : m_pDib;
    const int density = source->m_nResolution > 0 ? source->m_nResolution : 72;
    return SaveCopy(path, copy, colour, quality, density);
}

bool CJpeg::SaveDibBuffer(const char* path, const void* packedDib, DWORD size, bool colour,
                          int quality)
{
    CDib copy;
    if (!CopyPackedDibInto(packedDib, size, copy)) {
        m_strError = "No picture to write";
        return false;
    }
    return SaveCopy(path, copy, colour, quality, 72);
}

bool CJpeg::SaveCopy(const char* path, CDib& copy, bool colour, int quality, int density)
{
    if (copy.GetBitCount() != 24 && !copy.ChangeBitCount(24)) {
        m_strError = "Memory error";
        return false;
    }
    std::vector<BYTE> rgb = TopDownRows(copy);
    if (rgb.empty()) {
        m_strError = "Memory error";
        return false;
    }
    for (size_t i = 0; i + 2 < rgb.size(); i += 3)
        std::swap(rgb[i], rgb[i + 2]);
    return WriteRgb(path, rgb.data(), copy.GetWidth(), std::abs(copy.GetHeight()), colour, quality,
                    density);
}
