// JPEG-2000 files (JP2) and code streams (JPC) through OpenJPEG, whose
// stream callbacks read and write the CxFile.
#include "codecs/ximajas.h"

#include <string.h>

#include "codecs/ximabudget.h"
#include "platform/base/byte_reader.h"

#include "platform/native/native_begin.h"
#include <openjpeg.h>
#include "platform/native/native_end.h"

namespace {

const char kCannotLoad[] = "error: cannot load image data";
const OPJ_SIZE_T kChunkBytes = 1 << 16;
const OPJ_SIZE_T kStreamFailed = (OPJ_SIZE_T)-1;
const int kMaxResolutions = 6;

// OpenJPEG counts stream offsets from where the stream was when it was
// handed over.
struct StreamPlace {
    CxFile* file;
    int64_t start;
};

OPJ_SIZE_T ReadBytes(void* buffer, OPJ_SIZE_T count, void* user)
{
    StreamPlace* place = (StreamPlace*)user;
    DWORD wanted = count > 0x7FFFFFFF ? 0x7FFFFFFF : (DWORD)count;
    DWORD read = place->file->Read(buffer, 1, wanted);
    return read ? read : kStreamFailed;
}

OPJ_SIZE_T WriteBytes(void* buffer, OPJ_SIZE_T count, void* user)
{
    StreamPlace* place = (StreamPlace*)user;
    if (count > 0x7FFFFFFF || place->file->Write(buffer, 1, (DWORD)count) != count)
        return kStreamFailed;
    return count;
}

OPJ_BOOL SeekTo(OPJ_OFF_T offset, void* user)
{
    StreamPlace* place = (StreamPlace*)user;
    int64_t target = place->start + offset;
    if (offset < 0 || target > 0x7FFFFFFF)
        return OPJ_FALSE;
    return place->file->Seek((int32_t)target, SEEK_SET) ? OPJ_TRUE : OPJ_FALSE;
}

OPJ_OFF_T SkipBytes(OPJ_OFF_T count, void* user)
{
    StreamPlace* place = (StreamPlace*)user;
    int64_t offset = (int64_t)place->file->Tell() - place->start + count;
    return SeekTo(offset, user) ? count : -1;
}

void IgnoreMessage(const char*, void*)
{
}

void SilenceCodec(opj_codec_t* codec)
{
    opj_set_error_handler(codec, IgnoreMessage, NULL);
    opj_set_warning_handler(codec, IgnoreMessage, NULL);
    opj_set_info_handler(codec, IgnoreMessage, NULL);
}

opj_stream_t* MakeStream(StreamPlace& place, bool input)
{
    opj_stream_t* stream = opj_stream_create(kChunkBytes, input ? OPJ_TRUE : OPJ_FALSE);
    if (!stream)
        return NULL;
    opj_stream_set_user_data(stream, &place, NULL);
    if (input) {
        int64_t left = (int64_t)place.file->Size() - place.start;
        opj_stream_set_user_data_length(stream, left > 0 ? (OPJ_UINT64)left : 0);
        opj_stream_set_read_function(stream, ReadBytes);
    } else {
        opj_stream_set_write_function(stream, WriteBytes);
    }
    opj_stream_set_skip_function(stream, SkipBytes);
    opj_stream_set_seek_function(stream, SeekTo);
    return stream;
}

// The verdict on the picture that the image and tile size marker (SIZ,
// right after the start of the code stream, within the first bytes of a
// JP2 file) announces, before OpenJPEG sets up its tiles: every tile of a
// code stream has at least one tile-part of a dozen bytes. Fits when no
// marker is found there: OpenJPEG judges such a stream itself.
CxPictureVerdict CheckSizeMarker(CxFile* stream, int64_t start, uint64_t fileBytes)
{
    const size_t kLookedAt = 4096;
    const uint8_t kStart[4] = { 0xFF, 0x4F, 0xFF, 0x51 };  // SOC, SIZ
    std::string head(kLookedAt, '\0');
    head.resize(stream->Read(&head[0], 1, (DWORD)kLookedAt));
    stream->Seek((int32_t)start, SEEK_SET);
    size_t at = head.find(std::string((const char*)kStart, 4));
    if (at == std::string::npos)
        return CX_PICTURE_FITS;
    CByteReader siz((const uint8_t*)head.data() + at, head.size() - at);
    siz.Skip(8);  // the markers, Lsiz and Rsiz
    uint64_t right = siz.U32BE(), bottom = siz.U32BE(), left = siz.U32BE(), top = siz.U32BE();
    uint64_t tileWidth = siz.U32BE(), tileHeight = siz.U32BE();
    uint64_t tileLeft = siz.U32BE(), tileTop = siz.U32BE();
    uint64_t components = siz.U16BE();
    if (!siz.Ok() || right <= left || bottom <= top || tileWidth == 0 || tileHeight == 0 ||
        tileLeft > right || tileTop > bottom)
        return CX_PICTURE_FITS;
    uint64_t tiles = ((right - tileLeft + tileWidth - 1) / tileWidth) *
                     ((bottom - tileTop + tileHeight - 1) / tileHeight);
    if (tiles > fileBytes)
        return CX_PICTURE_TOO_LARGE_FOR_DATA;
    return CxCheckPicture(right - left, bottom - top, 8 * components, fileBytes,
                          CXIMAGE_EXPANSION_WAVELET);
}

// The sample of a component at pixel (x, y) of the first component: a
// component sampled more coarsely (subsampled chroma) repeats each sample
// over the pixels it covers.
OPJ_INT32 SampleAt(const opj_image_comp_t& first, const opj_image_comp_t& component, DWORD x,
                   DWORD y)
{
    uint64_t gridX = ((uint64_t)first.x0 + x) * first.dx;
    uint64_t gridY = ((uint64_t)first.y0 + y) * first.dy;
    int64_t column = (int64_t)(gridX / component.dx) - component.x0;
    int64_t row = (int64_t)(gridY / component.dy) - component.y0;
    column = column < 0 ? 0 : column >= (int64_t)component.w ? component.w - 1 : column;
    row = row < 0 ? 0 : row >= (int64_t)component.h ? component.h - 1 : row;
    return component.data[(size_t)row * component.w + (size_t)column];
}

// Luma and chroma (sYCC, the chroma centred on half the range) to red,
// green and blue, in place.
void YccToRgb(CxJasPicture& picture)
{
    int precision = picture[0].precision;
    double maximum = (double)(((int64_t)1 << precision) - 1);
    double centre = (double)((int64_t)1 << (precision - 1));
    for (size_t i = 0; i < picture[0].samples.size(); ++i) {
        double y = picture[0].samples[i];
        double cb = picture[1].samples[i] - centre;
        double cr = picture[2].samples[i] - centre;
        double rgb[3] = { y + 1.402 * cr, y - 0.344136 * cb - 0.714136 * cr, y + 1.772 * cb };
        for (int c = 0; c < 3; ++c) {
            double value = rgb[c] < 0 ? 0 : rgb[c] > maximum ? maximum : rgb[c];
            picture[c].samples[i] = (int32_t)(value + 0.5);
        }
    }
}

// Decoded planes into the picture, every plane at the first one's size;
// false when a plane has no samples.
bool TakePlanes(const opj_image_t* image, CxJasPicture& picture)
{
    picture.resize(image->numcomps);
    const opj_image_comp_t& first = image->comps[0];
    for (OPJ_UINT32 i = 0; i < image->numcomps; ++i) {
        const opj_image_comp_t& source = image->comps[i];
        if (!source.data || !CxJasSizeAllowed(source.w, source.h, 1) || source.prec < 1 ||
            source.prec > 31 || source.dx == 0 || source.dy == 0 || source.w == 0 ||
            source.h == 0)
            return false;
        CxJasComponent& plane = picture[i];
        plane.precision = (int)source.prec;
        plane.isSigned = source.sgnd != 0;
        bool coarser = (source.dx > first.dx || source.dy > first.dy) &&
                       (source.w != first.w || source.h != first.h);
        if (!coarser) {
            plane.width = source.w;
            plane.height = source.h;
            plane.samples.assign(source.data, source.data + (size_t)source.w * source.h);
            continue;
        }
        plane.width = first.w;
        plane.height = first.h;
        plane.samples.resize((size_t)first.w * first.h);
        for (DWORD y = 0; y < first.h; ++y)
            for (DWORD x = 0; x < first.w; ++x)
                plane.samples[(size_t)y * first.w + x] = SampleAt(first, source, x, y);
    }
    // Three components whose second and third are sampled more coarsely
    // than the first are luma and chroma, whatever colour space the file
    // names.
    const opj_image_comp_t* comps = image->comps;
    bool chromaSubsampled = image->numcomps == 3 &&
                            (comps[1].dx > comps[0].dx || comps[1].dy > comps[0].dy ||
                             comps[2].dx > comps[0].dx || comps[2].dy > comps[0].dy);
    if ((image->color_space == OPJ_CLRSPC_SYCC || chromaSubsampled) && picture.size() >= 3 &&
        picture[1].samples.size() == picture[0].samples.size() &&
        picture[2].samples.size() == picture[0].samples.size())
        YccToRgb(picture);
    return true;
}

void Release(opj_codec_t* codec, opj_stream_t* stream)
{
    if (stream)
        opj_stream_destroy(stream);
    if (codec)
        opj_destroy_codec(codec);
}

}  // namespace

const char* CxReadJpeg2000(CxFile* stream, bool codeStream, CxJasPicture& picture)
{
    StreamPlace place = { stream, stream->Tell() };
    opj_codec_t* codec = opj_create_decompress(codeStream ? OPJ_CODEC_J2K : OPJ_CODEC_JP2);
    opj_stream_t* input = MakeStream(place, true);
    opj_image_t* image = NULL;
    bool decoded = false;
    // OpenJPEG reads ahead: the budget is that of the whole stream.
    int64_t fileBytes = (int64_t)stream->Size() - place.start;
    CxPictureVerdict verdict =
        CheckSizeMarker(stream, place.start, fileBytes > 0 ? (uint64_t)fileBytes : 0);
    if (codec && input && verdict == CX_PICTURE_FITS) {
        SilenceCodec(codec);
        opj_dparameters_t parameters;
        opj_set_default_decoder_parameters(&parameters);
        bool sized = opj_setup_decoder(codec, &parameters) &&
                     opj_read_header(input, codec, &image) && image && image->numcomps > 0 &&
                     image->x1 > image->x0 && image->y1 > image->y0 &&
                     CxJasSizeAllowed(image->x1 - image->x0, image->y1 - image->y0,
                                      image->numcomps);
        if (sized)
            verdict = CxCheckPicture(image->x1 - image->x0, image->y1 - image->y0,
                                     8 * (uint64_t)image->numcomps,
                                     fileBytes > 0 ? (uint64_t)fileBytes : 0,
                                     CXIMAGE_EXPANSION_WAVELET);
        decoded = sized && verdict == CX_PICTURE_FITS && opj_decode(codec, input, image) &&
                  opj_end_decompress(codec, input) && TakePlanes(image, picture);
    }
    if (image)
        opj_image_destroy(image);
    Release(codec, input);
    if (verdict != CX_PICTURE_FITS)
        return CxPictureVerdictText(verdict);
    return decoded ? NULL : kCannotLoad;
}

const char* CxWriteJpeg2000(CxFile* stream, bool codeStream, const CxJasPicture& picture,
                            float rate)
{
    OPJ_UINT32 count = (OPJ_UINT32)picture.size();
    DWORD width = picture[0].width, height = picture[0].height;
    opj_image_cmptparm_t parameters[3];
    memset(parameters, 0, sizeof(parameters));
    for (OPJ_UINT32 i = 0; i < count; ++i) {
        parameters[i].dx = parameters[i].dy = 1;
        parameters[i].w = width;
        parameters[i].h = height;
        parameters[i].prec = 8;
        parameters[i].sgnd = 0;
    }
    opj_image_t* image =
        opj_image_create(count, parameters, count == 3 ? OPJ_CLRSPC_SRGB : OPJ_CLRSPC_GRAY);
    if (!image)
        return "cannot create image";
    image->x0 = image->y0 = 0;
    image->x1 = width;
    image->y1 = height;
    for (OPJ_UINT32 i = 0; i < count; ++i)
        memcpy(image->comps[i].data, picture[i].samples.data(),
               picture[i].samples.size() * sizeof(OPJ_INT32));

    opj_cparameters_t settings;
    opj_set_default_encoder_parameters(&settings);
    settings.tcp_numlayers = 1;
    settings.cp_disto_alloc = 1;
    settings.tcp_rates[0] = rate > 0 && rate < 1 ? 1.0f / rate : 0;  // 0: lossless
    settings.tcp_mct = count == 3 ? 1 : 0;
    // Each resolution level halves the picture; small pictures have fewer.
    int resolutions = 1;
    DWORD side = width < height ? width : height;
    while (resolutions < kMaxResolutions && (side >> resolutions) > 0)
        ++resolutions;
    settings.numresolution = resolutions;

    StreamPlace place = { stream, stream->Tell() };
    opj_codec_t* codec = opj_create_compress(codeStream ? OPJ_CODEC_J2K : OPJ_CODEC_JP2);
    opj_stream_t* output = MakeStream(place, false);
    bool encoded = false;
    if (codec && output) {
        SilenceCodec(codec);
        encoded = opj_setup_encoder(codec, &settings, image) &&
                  opj_start_compress(codec, image, output) && opj_encode(codec, output) &&
                  opj_end_compress(codec, output);
    }
    Release(codec, output);
    opj_image_destroy(image);
    return encoded ? NULL : "cannot encode image";
}
