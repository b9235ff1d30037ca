// PsdReader: reads the merged (composite) picture of a Photoshop PSD file
// into a 24-bit GDI DIB section. Layers, masks and most image resources
// are not interpreted. All numbers of the file are big-endian.
//
// Load returns 0 on success, with a bitmap (white where the colour mode
// gives no picture), or a negative code:
//   -1 cannot open, -2 bad header, -3 colour mode data, -4 image
//   resources, -6 image data (also when the file ends before the image data
//   the header claims is complete), -7 one bit per channel, -8 bits per
//   channel other than 8 and 16, -9 no bitmap (also for a picture of more
//   than 2^28 pixels), -10 ZIP, -11 ZIP with prediction, -12 another
//   compression.
#pragma once
#include <windows.h>
#include <stdint.h>
#include <stdio.h>

class CByteReader;

class PsdReader
{
public:
    enum ColourMode {
        ModeBitmap = 0,
        ModeGrayscale = 1,
        ModeIndexed = 2,
        ModeRGB = 3,
        ModeCMYK = 4,
        ModeMultichannel = 7,
        ModeDuotone = 8,
        ModeLab = 9
    };

    PsdReader();
    PsdReader(const PsdReader&) = delete;
    PsdReader& operator=(const PsdReader&) = delete;
    ~PsdReader();

    // Every field to its absent value; called by Load.
    void Reset();
    // Reads the file at a Win32 path (see the codes above).
    int32_t Load(const char* path);
    // The bitmap, now the caller's to delete; null when there is none.
    HBITMAP Detach();
    // Deletes the bitmap unless detached, and the colour mode data.
    void Free();

    int32_t GetChannels() const { return m_channels; }
    uint32_t GetWidth() const { return m_width; }
    uint32_t GetHeight() const { return m_height; }
    int32_t GetBitsPerChannel() const { return m_bitsPerChannel; }
    int32_t GetColourMode() const { return m_colourMode; }
    // Pixels per metre of the bitmap (from the resolution resource, or 3780).
    int32_t GetPixelsPerMeter() const;
    // "Bitmap", "Grayscale", ... for the file's colour mode, or null.
    static const char* ColourModeName(int32_t mode);

    // The image resources that are read field by field.
    struct Resolution {
        int16_t horizontalDpi;
        uint32_t horizontalRest;
        int16_t widthUnit;
        int16_t verticalDpi;
        uint32_t verticalRest;
        int16_t heightUnit;
    };
    struct DisplayInfo {
        int16_t colourSpace;
        uint16_t colour[4];
        int16_t opacity;
        bool kind;
        BYTE padding;
    };
    struct ThumbnailHeader {
        uint32_t format;
        uint32_t width;
        uint32_t height;
        uint32_t rowBytes;
        uint32_t totalSize;
        uint32_t compressedSize;
        int16_t bitsPerPixel;
        int16_t planes;
    };
    struct Resources {
        bool hasResolution;
        Resolution resolution;
        bool hasResource1000;
        uint16_t resource1000[5];
        bool hasDisplayInfo;
        DisplayInfo displayInfo;
        bool hasThumbnail;
        ThumbnailHeader thumbnail;
        bool flag1034;
        uint32_t globalAngle;
        int16_t indexedColourCount;
        int16_t transparencyIndex;
    };
    const Resources& GetResources() const { return m_resources; }

private:
    class Source;
    int32_t ReadHeader(Source& source);
    int32_t ReadColourModeData(Source& source);
    int32_t ReadImageResources(Source& source);
    bool ReadResourceRecord(CByteReader& records);
    void ReadListedResource(int16_t id, CByteReader& fields);
    int32_t ReadImageData(Source& source);
    bool DataCanHold(uint64_t remaining, bool packed, uint64_t planeBytes, uint32_t planes,
                     uint64_t rowTable) const;
    uint32_t PlanesNeeded() const;
    bool MakeBitmap(BYTE*& bits, int& stride);
    void Composite(const BYTE* planes, BYTE* bits, int stride) const;

    HBITMAP m_bitmap;
    bool m_detached;
    int16_t m_channels;
    uint32_t m_height;
    uint32_t m_width;
    int16_t m_bitsPerChannel;
    int16_t m_colourMode;
    int32_t m_colourModeDataLength;
    BYTE* m_colourModeData;
    Resources m_resources;
};
