#include "drawing/library/lib_tree_node.h"

#include <string.h>

#include "core/file_utils.h"
#include "drawing/library/lib_file_names.h"
#include "drawing/library/lib_record_list.h"
#include "platform/base/byte_reader.h"

namespace {

// A path of at most 511 characters has no more levels than this.
const int kMaxTreeDepth = 256;
// The smallest node: an empty name's NUL, the library flag and the count.
const uint32_t kSmallestNodeBytes = 6;

// Deletes the library file, when the path names one.
void DeleteLibraryFile(const CString& library)
{
    if (!library.IsEmpty() && IsLibraryFileName(library))
        DeleteFileA(library);
}

}  // namespace

void SplitFirstPathPart(const char* path, CString& first, CString& rest)
{
    CString text(path);
    int slash = text.Find('\\');
    if (slash <= 0) {
        first = text;
        rest.Empty();
        return;
    }
    first = text.Left(slash);
    rest = text.Mid(slash + 1);
}

bool ReadTreeText(CByteReader& reader, CString& text)
{
    const uint8_t* start = reader.Here();
    const void* nul = reader.Has(1) ? memchr(start, 0, reader.Remaining()) : nullptr;
    if (!nul)
        return false;
    size_t length = static_cast<const uint8_t*>(nul) - start;
    text = CString(reinterpret_cast<const char*>(start), static_cast<int>(length));
    return reader.Skip(length + 1);
}

void AppendTreeText(std::vector<uint8_t>& out, const char* text)
{
    out.insert(out.end(), text, text + strlen(text) + 1);
}

void AppendU32(std::vector<uint8_t>& out, uint32_t value)
{
    uint8_t field[4];
    PutU32LE(field, value);
    out.insert(out.end(), field, field + 4);
}

bool TLibTreeNode::ReadBody(CByteReader& reader, int depth, bool& flag, CString& text,
                            std::vector<std::unique_ptr<TLibTreeNode>>& nodes)
{
    flag = reader.U8() != 0;
    if (!reader.Ok() || (flag && !ReadTreeText(reader, text)))
        return false;
    const uint32_t count = reader.U32LE();
    if (!reader.Ok() || count > reader.Remaining() / kSmallestNodeBytes)
        return false;
    for (uint32_t i = 0; i < count; ++i) {
        std::unique_ptr<TLibTreeNode> child(new TLibTreeNode);
        if (!child->Read(reader, depth + 1))
            return false;
        nodes.push_back(std::move(child));
    }
    return true;
}

void TLibTreeNode::WriteBody(std::vector<uint8_t>& out, bool flag, const CString& text,
                             const std::vector<std::unique_ptr<TLibTreeNode>>& nodes)
{
    out.push_back(flag ? 1 : 0);
    if (flag)
        AppendTreeText(out, text);
    AppendU32(out, static_cast<uint32_t>(nodes.size()));
    for (const auto& child : nodes)
        child->Write(out);
}

bool TLibTreeNode::Read(CByteReader& reader, int depth)
{
    return depth <= kMaxTreeDepth && ReadTreeText(reader, name) &&
           ReadBody(reader, depth, hasLibrary, library, children);
}

void TLibTreeNode::Write(std::vector<uint8_t>& out) const
{
    AppendTreeText(out, name);
    WriteBody(out, hasLibrary, library, children);
}

LibTreeFind TLibTreeNode::FindInChildren(const std::vector<std::unique_ptr<TLibTreeNode>>& children,
                                         const char* rest, CString& outLib)
{
    for (const auto& child : children) {
        LibTreeFind found = child->Find(rest, outLib);
        if (found != LibTreeNotThisNode)
            return found;
    }
    return LibTreeNotFound;
}

LibTreeFind TLibTreeNode::Find(const char* path, CString& outLib) const
{
    CString first, rest;
    SplitFirstPathPart(path, first, rest);
    if (first.CompareNoCase(name) != 0)
        return LibTreeNotThisNode;
    if (rest.IsEmpty()) {
        if (!hasLibrary || library.IsEmpty())
            return LibTreeNotFound;
        outLib = library;
        return LibTreeFound;
    }
    return FindInChildren(children, rest, outLib);
}

LibTreeRemove TLibTreeNode::RemoveFromChildren(std::vector<std::unique_ptr<TLibTreeNode>>& children,
                                               const char* rest)
{
    for (size_t i = 0; i < children.size(); ++i) {
        LibTreeRemove removed = children[i]->Remove(rest);
        if (removed == LibTreeRemoveNotThisNode)
            continue;
        if (removed == LibTreeNowEmpty) {
            children.erase(children.begin() + i);
            return LibTreeRemoved;
        }
        return removed;
    }
    return LibTreeRemoveNotFound;
}

// A node is dropped only when it holds neither a library nor sub-folders,
// so that no other folder's entry goes with it.
LibTreeRemove TLibTreeNode::Remove(const char* path)
{
    CString first, rest;
    SplitFirstPathPart(path, first, rest);
    if (first.CompareNoCase(name) != 0)
        return LibTreeRemoveNotThisNode;
    if (rest.IsEmpty()) {
        if (hasLibrary)
            DeleteLibraryFile(library);
        hasLibrary = false;
        library.Empty();
    } else {
        LibTreeRemove removed = RemoveFromChildren(children, rest);
        if (removed != LibTreeRemoved)
            return removed;
    }
    return children.empty() && !hasLibrary ? LibTreeNowEmpty : LibTreeRemoved;
}

void TLibTreeNode::CollectRecords(const CString& parentFolder, TLibRecordList& records) const
{
    CString folder = parentFolder + "\\" + name;
    if (hasLibrary && !library.IsEmpty() && FileExists(library))
        records.Add(folder, library);
    for (const auto& child : children)
        child->CollectRecords(folder, records);
}
