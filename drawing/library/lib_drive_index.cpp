#include "drawing/library/lib_drive_index.h"

#include "core/file_utils.h"
#include "drawing/library/lib_file_names.h"
#include "drawing/library/lib_record_list.h"
#include "drawing/library/library_file_reader.h"
#include "platform/base/byte_reader.h"
#include "platform/base/file_replace.h"

namespace {

const char kOldIndexMagic[] = "QuorvantixImageCacheLibIndexFile";  // 33 bytes with its NUL
const size_t kOldIndexMagicBytes = sizeof(kOldIndexMagic);
const uint32_t kOldIndexVersion = 10;
// Header, version, body offset, drive type and serial.
const uint64_t kOldIndexBodyOffset = kOldIndexMagicBytes + 4 + 8 + 4 + 4;
const size_t kMaxOldIndexBytes = 64u << 20;

// Reads the header and the drive block.
bool ReadDriveHeader(CByteReader& reader, uint32_t& driveType, uint32_t& serial, uint64_t& body)
{
    const uint8_t* magic = reader.Span(kOldIndexMagicBytes);
    if (!magic || memcmp(magic, kOldIndexMagic, kOldIndexMagicBytes) != 0)
        return false;
    reader.U32LE();  // the version is kept, not checked
    body = reader.U64LE();
    driveType = reader.U32LE();
    serial = reader.U32LE();
    return reader.Ok();
}

}  // namespace

bool GetDriveKey(const char* path, uint32_t& driveType, uint32_t& serial)
{
    CString first, rest;
    SplitFirstPathPart(path, first, rest);
    CString root = first + "\\";
    SetErrorMode(SEM_FAILCRITICALERRORS);
    DWORD volumeSerial = 0;
    if (!GetVolumeInformationA(root, nullptr, 0, &volumeSerial, nullptr, nullptr, nullptr, 0))
        return false;
    driveType = GetDriveTypeA(root);
    serial = volumeSerial;
    return driveType > 1;
}

bool TLibDriveIndex::Parse(const std::vector<uint8_t>& bytes)
{
    children.clear();
    rootLibrary.Empty();
    CByteReader reader(bytes.data(), bytes.size());
    uint64_t body = 0;
    if (!ReadDriveHeader(reader, driveType, serial, body))
        return false;
    if (body != reader.Position() && (body > reader.Size() || !reader.Seek(static_cast<size_t>(body))))
        return false;
    return TLibTreeNode::ReadBody(reader, 0, rootHasLibrary, rootLibrary, children);
}

std::vector<uint8_t> TLibDriveIndex::Serialise() const
{
    std::vector<uint8_t> out(kOldIndexMagic, kOldIndexMagic + kOldIndexMagicBytes);
    AppendU32(out, kOldIndexVersion);
    uint8_t body[8];
    PutU64LE(body, kOldIndexBodyOffset);
    out.insert(out.end(), body, body + 8);
    AppendU32(out, driveType);
    AppendU32(out, serial);
    TLibTreeNode::WriteBody(out, rootHasLibrary, rootLibrary, children);
    return out;
}

bool TLibDriveIndex::Load(const char* file)
{
    std::vector<uint8_t> bytes;
    return ReadLibraryFile(file, LibraryShareRead, kLibraryOpenTries, kMaxOldIndexBytes, bytes) == LibraryRead &&
           Parse(bytes);
}

bool TLibDriveIndex::Find(const char* path, CString& outLib) const
{
    CString drive, rest;
    SplitFirstPathPart(path, drive, rest);
    if (rest.IsEmpty()) {
        if (!rootHasLibrary || rootLibrary.IsEmpty())
            return false;
        outLib = rootLibrary;
        return true;
    }
    return TLibTreeNode::FindInChildren(children, rest, outLib) == LibTreeFound;
}

bool TLibDriveIndex::Remove(const char* path)
{
    CString drive, rest;
    SplitFirstPathPart(path, drive, rest);
    if (rest.IsEmpty()) {
        if (!rootHasLibrary)
            return false;
        if (!rootLibrary.IsEmpty() && IsLibraryFileName(rootLibrary))
            DeleteFileA(rootLibrary);
        rootHasLibrary = false;
        rootLibrary.Empty();
        return true;
    }
    return TLibTreeNode::RemoveFromChildren(children, rest) == LibTreeRemoved;
}

void TLibDriveIndex::CollectRecords(const char* drive, TLibRecordList& records) const
{
    if (rootHasLibrary && !rootLibrary.IsEmpty() && FileExists(rootLibrary))
        records.Add(drive, rootLibrary);
    for (const auto& child : children)
        child->CollectRecords(drive, records);
}

void TLibDriveIndex::RemoveFromFile(const char* file, const char* path)
{
    std::vector<uint8_t> bytes;
    if (ReadLibraryFile(file, LibraryShareExclusive, kLibraryOpenTries, kMaxOldIndexBytes, bytes) != LibraryRead)
        return;
    TLibDriveIndex index;
    if (!index.Parse(bytes))
        return;
    if (!index.Remove(path))
        return;
    if (index.IsEmpty()) {
        DeleteFileA(file);
        return;
    }
    std::vector<uint8_t> rewritten = index.Serialise();
    ReplaceFileWithBytes(file, rewritten.data(), static_cast<DWORD>(rewritten.size()));
}

bool TLibDriveIndex::IsOldDriveIndexFile(const char* file, uint32_t driveType, uint32_t serial)
{
    std::vector<uint8_t> bytes;
    if (ReadLibraryFile(file, LibraryShareRead, 1, kOldIndexBodyOffset, bytes) != LibraryRead)
        return false;
    CByteReader reader(bytes.data(), bytes.size());
    uint32_t fileType = 0, fileSerial = 0;
    uint64_t body = 0;
    return ReadDriveHeader(reader, fileType, fileSerial, body) && fileType == driveType && fileSerial == serial;
}
