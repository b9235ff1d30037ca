// The codec of format id 5: MNG animations and JNG images through libmng.
// Decoding lets libmng display the stream onto a 24-bit canvas of this
// object, counts the frames, and copies the canvas showing the wanted frame
// into the image; encoding writes a 24-bit image as a one-frame MNG.
#pragma once
#include "codecs/ximage.h"

typedef void* CxMngHandle;

// The blocks that libmng holds through the codec's allocator, all images
// together: back where it was once every codec object that used libmng is
// gone.
LONG CxMngBlocksHeld();

// A block that libmng allocated through the codec; each codec object keeps
// the blocks its calls made in a ring of these headers.
struct CxMngBlock {
    CxMngBlock* previous;
    CxMngBlock* next;
};

// The record that libmng hands back to the callbacks.
struct CxMngState {
    CxFile* file;
    BYTE* canvas;               // height rows of rowSize bytes, bottom row first
    void* thread;               // an animation thread: never started
    DWORD delay;                // the last timer libmng asked for, in ms
    DWORD width;
    DWORD height;
    DWORD rowSize;
    int16_t bpp;
    bool animation;             // the stream still wanted a timer at its end
    bool animationEnabled;
    float speed;
    int32_t backgroundIndex;    // 0 when the stream has a background colour
    RGBQUAD background;
    bool shown;                 // libmng has shown some of a picture (refresh)
    char error[64];             // libmng's text of the last error it reported
};

class CxImageMNG : public CxImage {
public:
    CxImageMNG();
    ~CxImageMNG() override;
    CxImageMNG(const CxImageMNG&) = delete;
    CxImageMNG& operator=(const CxImageMNG&) = delete;

    bool Decode(CxFile* stream);
    bool Encode(CxFile* stream);
    bool IsAnimation() const { return m_state.animation; }

private:
    void SetCallbacks(CxMngHandle handle);
    bool WriteImage(CxMngHandle handle, int frame, int frameCount);

    CxMngHandle m_handle;
    CxMngState m_state;
    CxMngBlock m_blocks;        // the ring's head: empty when it points at itself
};
