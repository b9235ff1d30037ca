// The EXIF reader and writer of JPEG streams. CxExifInfo splits a JPEG
// stream into its marker sections, reads the EXIF data of the APP1 section
// and the comment into a CxExifRecord, and writes a JPEG stream back from
// the sections it holds (so that a newly written picture gets the EXIF and
// comment sections of the file it came from).
//
// Every offset, count and length found inside the EXIF data is checked
// against the TIFF block that holds it before anything is read there.
#pragma once
#include <windows.h>
#include <stdint.h>

#include "codecs/xfile.h"
#include "platform/base/byte_reader.h"

const int EXIF_MAX_SECTIONS = 20;
const int EXIF_MAX_COMMENT = 1000;

// Read modes of CxExifInfo::DecodeExif (a bit set).
const int EXIF_READ_EXIF = 1;   // APP1 and comment are processed and kept
const int EXIF_READ_IMAGE = 2;  // the data after start-of-scan is kept

// Marker types.
const int EXIF_M_SOF0 = 0xC0;
const int EXIF_M_SOI = 0xD8;
const int EXIF_M_EOI = 0xD9;
const int EXIF_M_SOS = 0xDA;
const int EXIF_M_JFIF = 0xE0;
const int EXIF_M_EXIF = 0xE1;
const int EXIF_M_COM = 0xFE;
const int EXIF_M_PSEUDO = 0x123;     // everything after the start-of-scan section

struct CxExifRecord {
    char version[5];
    char cameraMake[32];
    char cameraModel[40];
    char dateTime[20];
    int32_t height;
    int32_t width;
    int32_t orientation;
    int32_t isColor;
    int32_t process;
    int32_t flashUsed;
    float focalLength;
    float exposureTime;
    float apertureFNumber;
    float distance;
    float ccdWidth;
    float exposureBias;
    int32_t whiteBalance;
    int32_t meteringMode;
    int32_t exposureProgram;
    int32_t isoEquivalent;
    int32_t compressionLevel;
    float focalPlaneXRes;
    float focalPlaneYRes;
    float focalPlaneUnits;
    float xResolution;
    float yResolution;
    float resolutionUnit;
    float brightness;
    char comments[EXIF_MAX_COMMENT];
    BYTE* thumbnailPointer;     // inside the APP1 section's data
    DWORD thumbnailSize;
    bool isExif;                // the APP1 EXIF section was read without failure
};

struct CxExifSection {
    BYTE* data;                 // length bytes and payload; C allocator
    int32_t type;               // marker type
    DWORD size;
};

class CxExifInfo {
public:
    // With a record, fills it and does not own it; with null, owns one.
    explicit CxExifInfo(CxExifRecord* record = NULL);
    ~CxExifInfo();
    CxExifInfo(const CxExifInfo&) = delete;
    CxExifInfo& operator=(const CxExifInfo&) = delete;

    bool DecodeExif(CxFile* stream, int readMode = EXIF_READ_EXIF);
    bool EncodeExif(CxFile* stream);
    // Keeps the first APP1 and the first comment section, frees the rest.
    void KeepExifAndComment();
    // The first held section of that type except the last one, or null.
    CxExifSection* FindSection(int type);

    CxExifRecord* GetRecord() const { return m_record; }
    int SectionsRead() const { return m_sectionsRead; }
    const char* GetLastError() const { return m_lastError; }

private:
    // Where a directory walk may read: the TIFF block of the APP1 section.
    struct TiffBlock {
        const BYTE* base;
        DWORD length;
        int directoriesRead;
        DWORD visited[32];
    };

    bool Fail(const char* message);
    bool ReadSections(CxFile* stream, int readMode);
    bool ReadRestOfImage(CxFile* stream);
    void DropLastSection();
    bool ProcessExifSegment(const BYTE* segment, DWORD length);
    bool ProcessDirectory(TiffBlock& block, DWORD offset, int depth);
    bool ProcessEntry(TiffBlock& block, CByteReader& entry, int depth, DWORD thumbnail[2]);
    bool FollowLink(TiffBlock& block, DWORD offset, int depth);
    void ApplyNumberTag(int tag, double value);
    void ApplyUserComment(const BYTE* value, DWORD bytes);
    double ConvertValue(const BYTE* value, int format) const;
    void ProcessComment(const BYTE* data, DWORD length);
    void ProcessFrameHeader(const BYTE* data, DWORD length, int marker);

    CxExifRecord* m_record;
    char m_lastError[256];
    int32_t m_exifImageWidth;
    ByteOrder m_byteOrder;  // of the TIFF block being read
    CxExifSection m_sections[EXIF_MAX_SECTIONS];
    int32_t m_sectionsRead;
    bool m_ownsRecord;
};
