// The help file the build compiles: an ITSF (CHM) file whose directory names
// the help pages, read back from its own bytes.
#include "tests/support/gtest.h"

#include <stdint.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/base/byte_reader.h"
#include "tests/support/test_files.h"

namespace {

// A variable-length number of the directory: seven bits a byte, the high
// bit set on every byte but the last.
uint64_t EncodedInteger(CByteReader& reader)
{
    uint64_t value = 0;
    for (int bytes = 0; bytes < 9 && reader.Ok(); ++bytes) {
        uint8_t byte = reader.U8();
        value = (value << 7) | (byte & 0x7F);
        if ((byte & 0x80) == 0)
            return value;
    }
    reader.Seek(reader.Size() + 1);  // too long: the reader fails
    return 0;
}

// The names of the directory's listing chunks (PMGL); empty when the file
// is not an ITSF file of version 3 with a directory that fits in it.
std::vector<std::string> ChmNames(const std::string& bytes)
{
    std::vector<std::string> names;
    CByteReader file(bytes.data(), bytes.size());
    if (bytes.compare(0, 4, "ITSF") != 0 || (file.Seek(4), file.U32LE()) != 3)
        return names;
    file.Seek(0x48);  // the second header section: the directory
    uint64_t directoryAt = file.U64LE();
    uint64_t directoryLength = file.U64LE();
    if (!file.Ok() || directoryAt > bytes.size() || directoryLength > bytes.size() - directoryAt)
        return names;
    CByteReader directory(bytes.data() + directoryAt, size_t(directoryLength));
    if (bytes.compare(size_t(directoryAt), 4, "ITSP") != 0)
        return names;
    directory.Seek(8);
    uint32_t headerLength = directory.U32LE();
    directory.Skip(4);
    uint32_t chunkSize = directory.U32LE();
    directory.Seek(44);
    uint32_t chunkCount = directory.U32LE();
    if (!directory.Ok() || chunkSize < 20 || headerLength > directoryLength ||
        uint64_t(chunkCount) * chunkSize > directoryLength - headerLength)
        return names;
    for (uint32_t i = 0; i < chunkCount; ++i) {
        const char* chunk = bytes.data() + directoryAt + headerLength + uint64_t(i) * chunkSize;
        if (std::string(chunk, 4) != "PMGL")
            continue;
        CByteReader entries(chunk, chunkSize);
        entries.Seek(4);
        uint32_t freeSpace = entries.U32LE();
        entries.Seek(20);
        while (entries.Ok() && freeSpace < chunkSize && entries.Position() < chunkSize - freeSpace) {
            uint64_t nameLength = EncodedInteger(entries);
            const uint8_t* name = entries.Span(size_t(std::min<uint64_t>(nameLength, chunkSize)));
            EncodedInteger(entries);  // section, offset and length of the content
            EncodedInteger(entries);
            EncodedInteger(entries);
            if (entries.Ok() && name)
                names.push_back(std::string(reinterpret_cast<const char*>(name), size_t(nameLength)));
        }
    }
    return names;
}

}  // namespace

TEST(HelpFile, IsAChmFileHoldingTheHelpPages)
{
    std::string bytes;
    ASSERT_TRUE(testfiles::ReadFileBytes(testfiles::ToWinePath(HELP_FILE), bytes));
    std::vector<std::string> names = ChmNames(bytes);
    for (const char* page : {"/index.htm", "/browse.htm", "/viewer.htm", "/options.htm", "/shortcuts.htm",
                             "/toc.hhc", "/#SYSTEM"})
        EXPECT_NE(names.end(), std::find(names.begin(), names.end(), page)) << page;
}
