// A small reader of JPEG files that works on the marker structure and the
// EXIF block directly: it reads and rewrites the EXIF orientation of a file
// in place, and makes a fast thumbnail from the small JPEG picture that
// cameras embed in the EXIF block, decoded by the system's picture loader.
//
// Every reader checks each length and offset against the data it has and
// returns 0, false or null on a malformed file. The EXIF byte order is
// found anew by each call.
#pragma once
#include <windows.h>
#include <stdint.h>
#include <stdio.h>

#include "platform/base/byte_reader.h"

class CxImage;

// Marker lists: a count byte followed by that many marker bytes.
extern const BYTE kJpegApp1Markers[];
extern const BYTE kJpegFrameMarkers[];

const WORD kExifOrientationTag = 274;

// The embedded thumbnail of a file, filled by ReadJpegThumbnail.
struct JpegThumbInfo {
    HBITMAP bitmap;       // owned by the caller, who deletes it
    uint32_t size;        // height in the high 16 bits, width in the low
    BYTE orientation;     // the EXIF orientation, 0 when there is none
    BYTE kind;            // 6 once a picture was loaded, else 0
};

// Finds a segment whose marker is in the list in a JPEG held in memory; on
// success data moves to the segment body and length becomes its length.
bool FindJpegMarker(const BYTE*& data, uint32_t& length, const BYTE* markers);
// Checks an APP1 body for the EXIF header and moves to the TIFF header;
// order tells the block's byte order.
bool CheckExifHeader(const BYTE*& data, uint32_t& length, ByteOrder& order);
// The orientation value of IFD0 (0 without one) in an APP1 body or a whole
// JPEG. When newValue is not 0 it is also written into the block as a
// short, and *patched (when given) tells whether that happened.
int ExifOrientationTag(BYTE* segment, uint32_t length, uint16_t newValue,
                       bool* patched = nullptr);
// Locates the embedded JPEG thumbnail of IFD1 in an APP1 body or a whole
// JPEG.
bool FindExifThumbnail(const BYTE*& data, uint32_t& length);
// Reads one whole segment body from the start of a JPEG file into a new
// block (freed with delete[]), or null.
BYTE* ReadJpegSegment(FILE* file, BYTE marker, uint32_t& length);

// The EXIF orientation of the file at a Win32 path; 0 without one.
int ReadJpegExifOrientation(const char* path);
// Rewrites the orientation of the file: the changed file is written beside
// it and replaces it only when complete. True only when an orientation tag
// was there and the file was replaced.
bool WriteJpegExifOrientation(const char* path, int value);
// Decodes the embedded thumbnail of an open JPEG file into record.
bool ReadJpegThumbnail(FILE* file, JpegThumbInfo& record);
// Decodes JPEG bytes held in a movable global memory block with the
// system's picture loader. The block is taken over and freed. Bytes that
// are not a JPEG, or whose frame is larger than they can encode, are
// refused without reaching the loader.
bool LoadPictureFromJpegBytes(HGLOBAL block, uint32_t size, JpegThumbInfo& record);
// A new image (the caller owns it) of the file's embedded thumbnail with
// the EXIF orientation applied, or null.
CxImage* LoadJpegOriented(const char* path);
