#include "codecs/ximajpg.h"

#include <math.h>
#include <setjmp.h>
#include <stdlib.h>
#include <string.h>

#include <new>

#include "codecs/ximabudget.h"
#include "codecs/xiofile.h"

#include "platform/native/native_begin.h"
#include <jpeglib.h>
#include <jerror.h>
#include "platform/native/native_end.h"

namespace {

const size_t kBufferBytes = 4096;
const int kLibraryVersion = 62;

// One object serves libjpeg as source manager and as destination manager;
// libjpeg finds it through the client data of its structure.
struct CxJpegFileIO {
    explicit CxJpegFileIO(CxFile* stream)
        : file(stream), buffer((JOCTET*)malloc(kBufferBytes)), startOfFile(true)
    {
        memset(&destination, 0, sizeof(destination));
        memset(&source, 0, sizeof(source));
    }
    ~CxJpegFileIO() { free(buffer); }
    CxJpegFileIO(const CxJpegFileIO&) = delete;
    CxJpegFileIO& operator=(const CxJpegFileIO&) = delete;

    jpeg_destination_mgr destination;
    jpeg_source_mgr source;
    CxFile* file;
    JOCTET* buffer;
    bool startOfFile;
};

struct CxJpegErrorMgr {
    jpeg_error_mgr pub;
    jmp_buf jump;
    char* message;  // the image's last-error text
};

CxJpegFileIO* Adapter(j_common_ptr cinfo)
{
    return (CxJpegFileIO*)cinfo->client_data;
}

void ErrorExit(j_common_ptr cinfo)
{
    CxJpegErrorMgr* errors = (CxJpegErrorMgr*)cinfo->err;
    (*cinfo->err->format_message)(cinfo, errors->message);
    longjmp(errors->jump, 1);
}

// Warnings about damaged data stay silent: the decode goes on, and a
// library has no console to print them on.
void OutputNothing(j_common_ptr)
{
}

jpeg_error_mgr* SetUpErrors(CxJpegErrorMgr& errors, char* message)
{
    jpeg_std_error(&errors.pub);
    errors.pub.error_exit = ErrorExit;
    errors.pub.output_message = OutputNothing;
    errors.message = message;
    return &errors.pub;
}

void InitDestination(j_compress_ptr cinfo)
{
    CxJpegFileIO* io = Adapter((j_common_ptr)cinfo);
    io->destination.next_output_byte = io->buffer;
    io->destination.free_in_buffer = kBufferBytes;
}

jpeg_boolean EmptyOutputBuffer(j_compress_ptr cinfo)
{
    CxJpegFileIO* io = Adapter((j_common_ptr)cinfo);
    if (io->file->Write(io->buffer, 1, kBufferBytes) != kBufferBytes)
        ERREXIT(cinfo, JERR_FILE_WRITE);
    io->destination.next_output_byte = io->buffer;
    io->destination.free_in_buffer = kBufferBytes;
    return TRUE;
}

void TermDestination(j_compress_ptr cinfo)
{
    CxJpegFileIO* io = Adapter((j_common_ptr)cinfo);
    DWORD count = (DWORD)(kBufferBytes - io->destination.free_in_buffer);
    if (count > 0 && io->file->Write(io->buffer, 1, count) != count)
        ERREXIT(cinfo, JERR_FILE_WRITE);
    io->file->Flush();
    if (io->file->Error())
        ERREXIT(cinfo, JERR_FILE_WRITE);
}

void InitSource(j_decompress_ptr cinfo)
{
    Adapter((j_common_ptr)cinfo)->startOfFile = true;
}

jpeg_boolean FillInputBuffer(j_decompress_ptr cinfo)
{
    CxJpegFileIO* io = Adapter((j_common_ptr)cinfo);
    DWORD count = io->file->Read(io->buffer, 1, kBufferBytes);
    if (count == 0) {
        if (io->startOfFile)
            ERREXIT(cinfo, JERR_INPUT_EMPTY);
        WARNMS(cinfo, JWRN_JPEG_EOF);
        // An end-of-image marker lets the library finish the picture.
        io->buffer[0] = (JOCTET)0xFF;
        io->buffer[1] = (JOCTET)JPEG_EOI;
        count = 2;
    }
    io->source.next_input_byte = io->buffer;
    io->source.bytes_in_buffer = count;
    io->startOfFile = false;
    return TRUE;
}

void SkipInputData(j_decompress_ptr cinfo, long count)
{
    if (count <= 0)
        return;
    jpeg_source_mgr* source = cinfo->src;
    while (count > (long)source->bytes_in_buffer) {
        count -= (long)source->bytes_in_buffer;
        FillInputBuffer(cinfo);
    }
    source->next_input_byte += count;
    source->bytes_in_buffer -= count;
}

void TermSource(j_decompress_ptr)
{
}

void AttachSource(jpeg_decompress_struct& cinfo, CxJpegFileIO& io)
{
    io.source.init_source = InitSource;
    io.source.fill_input_buffer = FillInputBuffer;
    io.source.skip_input_data = SkipInputData;
    io.source.resync_to_restart = jpeg_resync_to_restart;
    io.source.term_source = TermSource;
    io.source.next_input_byte = NULL;
    io.source.bytes_in_buffer = 0;
    cinfo.client_data = &io;
    cinfo.src = &io.source;
}

void AttachDestination(jpeg_compress_struct& cinfo, CxJpegFileIO& io)
{
    io.destination.init_destination = InitDestination;
    io.destination.empty_output_buffer = EmptyOutputBuffer;
    io.destination.term_destination = TermDestination;
    cinfo.client_data = &io;
    cinfo.dest = &io.destination;
}

// libjpeg-turbo scales by any n/8; the scale byte asks for 1/2, 1/4 or
// 1/8 (the largest of them not above 1/scale), as libjpeg 6b gave them.
unsigned int ScaleDenominator(BYTE scale)
{
    if (scale >= 8)
        return 8;
    if (scale >= 4)
        return 4;
    if (scale >= 2)
        return 2;
    return 1;
}

int32_t ClampDpi(double dpi)
{
    if (!(dpi > 0))
        return 0;
    return dpi >= 2147483647.0 ? 2147483647 : (int32_t)dpi;
}

// Adobe CMYK (stored inverted) to blue, green, red.
void CmykRowToBgr(const JSAMPLE* source, DWORD sourceBytes, BYTE* target, DWORD targetBytes)
{
    for (DWORD s = 0, t = 0; s + 3 < sourceBytes && t + 2 < targetBytes; s += 4, t += 3) {
        DWORD k = source[s + 3];
        target[t] = (BYTE)(k * source[s + 2] / 255);
        target[t + 1] = (BYTE)(k * source[s + 1] / 255);
        target[t + 2] = (BYTE)(k * source[s] / 255);
    }
}

}  // namespace

CxImageJPG::CxImageJPG() : CxImage(CXIMAGE_FORMAT_JPG), m_exif(NULL)
{
    memset(&m_exifinfo, 0, sizeof(m_exifinfo));
    m_nSmoothing = 0;
    m_nDither = JDITHER_FS;
}

CxImageJPG::~CxImageJPG()
{
    delete m_exif;
}

bool CxImageJPG::DecodeExif(CxFile* stream)
{
    delete m_exif;
    m_exif = new (std::nothrow) CxExifInfo(&m_exifinfo);
    if (!m_exif || !stream)
        return false;
    int32_t position = stream->Tell();
    m_exif->DecodeExif(stream, EXIF_READ_EXIF);
    stream->Seek(position, SEEK_SET);
    return m_exifinfo.isExif;
}

bool CxImageJPG::DecodeExif(FILE* file)
{
    if (!file)
        return false;
    CxIOFile stream(file);
    return DecodeExif(&stream);
}

void CxImageJPG::ApplyResolution(bool haveExif, int densityUnit, int xDensity, int yDensity)
{
    if (haveExif) {
        if (m_exifinfo.xResolution != 0 && m_exifinfo.resolutionUnit != 0)
            SetXDPI(ClampDpi(m_exifinfo.xResolution / m_exifinfo.resolutionUnit));
        if (m_exifinfo.yResolution != 0 && m_exifinfo.resolutionUnit != 0)
            SetYDPI(ClampDpi(m_exifinfo.yResolution / m_exifinfo.resolutionUnit));
    } else if (densityUnit == 2) {
        SetXDPI((int32_t)floor(xDensity * 2.54 + 0.5));
        SetYDPI((int32_t)floor(yDensity * 2.54 + 0.5));
    } else {
        SetXDPI(xDensity);
        SetYDPI(yDensity);
    }
}

bool CxImageJPG::Decode(CxFile* stream)
{
    if (!stream)
        return Fail("null file handler");
    bool haveExif = DecodeExif(stream);
    CxJpegFileIO io(stream);
    if (!io.buffer)
        return Fail("CxImageJPG can't allocate memory");
    jpeg_decompress_struct cinfo;
    CxJpegErrorMgr errors;
    cinfo.err = SetUpErrors(errors, info.lastError);
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_CreateDecompress(&cinfo, kLibraryVersion, sizeof(cinfo));
    AttachSource(cinfo, io);
    jpeg_read_header(&cinfo, TRUE);

    DWORD options = GetCodecOption(CXIMAGE_FORMAT_JPG);
    if (options & DECODE_GRAYSCALE)
        cinfo.out_color_space = JCS_GRAYSCALE;
    if (options & DECODE_QUANTIZE) {
        cinfo.quantize_colors = TRUE;
        cinfo.desired_number_of_colors = GetJpegQuality();
    }
    if (options & DECODE_DITHER)
        cinfo.dither_mode = (J_DITHER_MODE)m_nDither;
    if (options & DECODE_ONEPASS)
        cinfo.two_pass_quantize = FALSE;
    if (options & DECODE_NOSMOOTH)
        cinfo.do_fancy_upsampling = FALSE;
    // Blue, green, red straight from the library: the DIB's own order.
    if (cinfo.out_color_space == JCS_RGB && !cinfo.quantize_colors)
        cinfo.out_color_space = JCS_EXT_BGR;
    cinfo.scale_num = 1;
    cinfo.scale_denom = ScaleDenominator(GetJpegScale());

    if (info.escape == -1) {
        jpeg_calc_output_dimensions(&cinfo);
        header.biWidth = (LONG)cinfo.output_width;
        header.biHeight = (LONG)cinfo.output_height;
        jpeg_destroy_decompress(&cinfo);
        return true;
    }

    // The picture as the file codes it, whatever scale is asked for.
    if (!CheckPictureBudget(CxRemainingBytes(stream) + cinfo.src->bytes_in_buffer,
                            cinfo.image_width, cinfo.image_height, 8 * cinfo.num_components,
                            CXIMAGE_EXPANSION_JPEG))
        longjmp(errors.jump, 1);
    jpeg_start_decompress(&cinfo);
    if (!Create(cinfo.output_width, cinfo.output_height, 8 * cinfo.output_components,
                CXIMAGE_FORMAT_JPG))
        longjmp(errors.jump, 1);
    ApplyResolution(haveExif, cinfo.density_unit, cinfo.X_density, cinfo.Y_density);

    if (cinfo.out_color_space == JCS_GRAYSCALE) {
        SetGrayPalette();
    } else if (cinfo.quantize_colors) {
        // The palette keeps its 256 entries; the library's colours come first.
        SetPalette((DWORD)cinfo.actual_number_of_colors, cinfo.colormap[0],
                   cinfo.colormap[1], cinfo.colormap[2]);
    }

    DWORD lineBytes = cinfo.output_width * cinfo.output_components;
    bool cmyk = cinfo.output_components == 4 && !cinfo.quantize_colors;
    bool direct = !cmyk && lineBytes <= info.effWidth;
    JSAMPARRAY line = NULL;
    if (!direct)
        line = (*cinfo.mem->alloc_sarray)((j_common_ptr)&cinfo, JPOOL_IMAGE, lineBytes, 1);

    while (cinfo.output_scanline < cinfo.output_height) {
        if (info.escape)
            longjmp(errors.jump, 1);
        BYTE* row = GetBits(cinfo.output_height - 1 - cinfo.output_scanline);
        if (direct) {
            jpeg_read_scanlines(&cinfo, &row, 1);
        } else {
            jpeg_read_scanlines(&cinfo, line, 1);
            if (cmyk)
                CmykRowToBgr(line[0], lineBytes, row, info.effWidth);
            else
                memcpy(row, line[0], lineBytes < info.effWidth ? lineBytes : info.effWidth);
        }
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return true;
}

bool CxImageJPG::Encode(CxFile* stream)
{
    if (EncodeSafeCheck(stream))
        return false;
    if (header.biClrUsed != 0 && !IsGrayScale())
        return Fail("JPEG can save only RGB or GreyScale images");
    int32_t position = stream->Tell();
    CxJpegFileIO io(stream);
    if (!io.buffer)
        return Fail("CxImageJPG can't allocate memory");
    jpeg_compress_struct cinfo;
    CxJpegErrorMgr errors;
    cinfo.err = SetUpErrors(errors, info.lastError);
    if (setjmp(errors.jump)) {
        jpeg_destroy_compress(&cinfo);
        return false;
    }
    jpeg_CreateCompress(&cinfo, kLibraryVersion, sizeof(cinfo));
    AttachDestination(cinfo, io);

    cinfo.image_width = GetWidth();
    cinfo.image_height = GetHeight();
    bool grey = header.biClrUsed != 0;
    cinfo.input_components = grey ? 1 : 3;
    cinfo.in_color_space = grey ? JCS_GRAYSCALE : JCS_EXT_BGR;
    jpeg_set_defaults(&cinfo);

    DWORD options = GetCodecOption(CXIMAGE_FORMAT_JPG);
    if (options & ENCODE_ARITHMETIC)
        cinfo.arith_code = TRUE;
    if (options & ENCODE_OPTIMIZE)
        cinfo.optimize_coding = TRUE;
    if (options & ENCODE_GRAYSCALE)
        jpeg_set_colorspace(&cinfo, JCS_GRAYSCALE);
    if (options & ENCODE_SMOOTHING)
        cinfo.smoothing_factor = m_nSmoothing;
    jpeg_set_quality(&cinfo, GetJpegQuality(), (options & ENCODE_BASELINE) ? TRUE : FALSE);
    if (options & ENCODE_PROGRESSIVE)
        jpeg_simple_progression(&cinfo);

    cinfo.density_unit = 1;
    cinfo.X_density = (WORD)GetXDPI();
    cinfo.Y_density = (WORD)GetYDPI();

    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = GetBits(cinfo.image_height - 1 - cinfo.next_scanline);
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);

    if (m_exif && m_exifinfo.isExif)
        PutExifBack(stream, position);
    return true;
}

// Rewrites the file just written at `position` with the EXIF and comment
// sections of the earlier decode in front.
void CxImageJPG::PutExifBack(CxFile* stream, int32_t position)
{
    m_exif->KeepExifAndComment();
    stream->Seek(position, SEEK_SET);
    m_exif->DecodeExif(stream, EXIF_READ_IMAGE);
    stream->Seek(position, SEEK_SET);
    m_exif->EncodeExif(stream);
}
