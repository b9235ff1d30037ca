// The header of a thumbnail library file: magic, version, the offset of the
// first record, the folder the library belongs to and the thumbnail size.
#pragma once
#include <windows.h>
#include <stdint.h>

#include <vector>

#include "platform/classlib/cstring.h"

class CByteReader;

const uint32_t kLibVersion = 11;
// Bytes enough for any header: magic, version, offset, a folder path and
// the two sizes.
const size_t kMaxLibHeaderBytes = 4096;

struct TLibHeader {
    uint64_t firstRecord = 0;
    CString folder;
    // Both zero when the header ends before them.
    uint32_t width = 0;
    uint32_t height = 0;
};

// Reads the header from the start of the reader, leaving it after the
// folder text (or the sizes). False for a wrong magic, a version of 10 or
// less, a missing field, a folder text without its NUL or a first record
// inside the header.
bool ParseLibHeader(CByteReader& reader, TLibHeader& header);
// The header of a library written for folder with that thumbnail size; the
// first record follows it.
void AppendLibHeader(std::vector<uint8_t>& out, const char* folder, uint32_t width, uint32_t height);

enum LibHeaderRead {
    LibHeaderValid,
    LibHeaderDamaged,      // the file reads but its header does not check
    LibHeaderUnavailable,  // missing, or held by somebody else
};

// The folder a library file names in its header (valid only when the text
// is not empty).
LibHeaderRead ReadLibFolder(const char* file, CString& folder);
// The header of a library file.
LibHeaderRead ReadLibHeader(const char* file, TLibHeader& header);
