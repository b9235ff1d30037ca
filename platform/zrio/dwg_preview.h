// DWG, DWT and DWF files: recognising them, their version, and the preview
// picture stored in them (and in DXF files) as the bytes of a BMP file.
#pragma once
#include "platform/zrio/win32.h"
#include <stddef.h>
#include <stdint.h>

#include <string>
#include <vector>

namespace zr {

// True for the DWG/DWT ("AC10..") and DWF ("(DWF V") families.
bool IsDwgFamily(const char* data, size_t size);
// "AC1015" for a DWG, empty when not known.
std::string DwgVersionText(const char* data, size_t size);

// The preview picture of a file's bytes as a BMP file; false when there is
// none or it is damaged.
bool ExtractPreviewBmp(const char* data, size_t size, std::vector<uint8_t>* bmp);

// A BMP file made of a device-independent bitmap (header, colours, bits);
// false when the header does not describe the data.
bool BmpFromDib(const uint8_t* dib, size_t size, std::vector<uint8_t>* bmp);
// A 24-bit BMP file made of a PNG image.
bool BmpFromPng(const uint8_t* png, size_t size, std::vector<uint8_t>* bmp);

}  // namespace zr
