#include "drawing/library/library_header.h"

#include <string.h>

#include "drawing/library/library_file_reader.h"
#include "platform/base/byte_reader.h"

namespace {

const char kLibMagic[] = "QuorvantixImageCacheLib";
const size_t kLibMagicBytes = sizeof(kLibMagic) - 1;  // written without its NUL
const uint32_t kOldestUnreadVersion = 10;

}  // namespace

bool ParseLibHeader(CByteReader& reader, TLibHeader& header)
{
    const uint8_t* magic = reader.Span(kLibMagicBytes);
    const uint32_t version = reader.U32LE();
    header.firstRecord = reader.U64LE();
    if (!reader.Ok() || memcmp(magic, kLibMagic, kLibMagicBytes) != 0 || version <= kOldestUnreadVersion)
        return false;
    const uint8_t* text = reader.Here();
    const void* nul = memchr(text, 0, reader.Remaining());
    if (!nul)
        return false;
    const size_t length = static_cast<const uint8_t*>(nul) - text;
    header.folder = CString(reinterpret_cast<const char*>(text), static_cast<int>(length));
    reader.Skip(length + 1);
    if (header.firstRecord < reader.Position())
        return false;
    header.width = header.height = 0;
    if (header.firstRecord >= reader.Position() + 8 && reader.Has(8)) {
        header.width = reader.U32LE();
        header.height = reader.U32LE();
    }
    return true;
}

void AppendLibHeader(std::vector<uint8_t>& out, const char* folder, uint32_t width, uint32_t height)
{
    const size_t folderBytes = strlen(folder) + 1;
    const size_t start = out.size();
    out.resize(start + kLibMagicBytes + 4 + 8 + folderBytes + 8);
    uint8_t* p = out.data() + start;
    memcpy(p, kLibMagic, kLibMagicBytes);
    PutU32LE(p + kLibMagicBytes, kLibVersion);
    PutU64LE(p + kLibMagicBytes + 4, out.size());
    memcpy(p + kLibMagicBytes + 12, folder, folderBytes);
    PutU32LE(p + kLibMagicBytes + 12 + folderBytes, width);
    PutU32LE(p + kLibMagicBytes + 12 + folderBytes + 4, height);
}

LibHeaderRead ReadLibHeader(const char* file, TLibHeader& header)
{
    std::vector<uint8_t> bytes;
    LibraryReadResult read = ReadLibraryFile(file, LibraryShareRead, kLibraryOpenTries, kMaxLibHeaderBytes, bytes);
    if (read != LibraryRead)
        return LibHeaderUnavailable;
    CByteReader reader(bytes.data(), bytes.size());
    return ParseLibHeader(reader, header) ? LibHeaderValid : LibHeaderDamaged;
}

LibHeaderRead ReadLibFolder(const char* file, CString& folder)
{
    TLibHeader header;
    LibHeaderRead read = ReadLibHeader(file, header);
    if (read == LibHeaderValid && header.folder.IsEmpty())
        return LibHeaderDamaged;
    if (read == LibHeaderValid)
        folder = header.folder;
    return read;
}
