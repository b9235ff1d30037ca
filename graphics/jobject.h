// JObject: the base of the vector picture model (JGraphics, JGroup,
// JEntity) and of the raster document KImage.
#pragma once

class KBuffer;

class JObject
{
public:
    virtual ~JObject() {}
    // Reads the object at the buffer's cursor and advances it. False when
    // the bytes are short or malformed (the base reads nothing).
    virtual bool Read(KBuffer& buffer)
    {
        (void)buffer;
        return true;
    }
};
