// One folder of an index file of the older layout: its name, its library
// (if any) and its sub-folders, which it owns.
#pragma once
#include <windows.h>
#include <stdint.h>

#include <memory>
#include <vector>

#include "platform/classlib/cstring.h"

class CByteReader;
class TLibRecordList;

// Results of Find.
enum LibTreeFind { LibTreeFound = 0, LibTreeNotFound = 1, LibTreeNotThisNode = 2 };
// Results of Remove.
enum LibTreeRemove {
    LibTreeRemoved = 0,
    LibTreeNowEmpty = 1,  // unlink and delete the node
    LibTreeRemoveNotThisNode = 2,
    LibTreeRemoveNotFound = 3,
};

// The first part of a path (up to the first backslash) and the rest. A path
// without a backslash, or one beginning with one, is one part.
void SplitFirstPathPart(const char* path, CString& first, CString& rest);

class TLibTreeNode {
public:
    TLibTreeNode() = default;
    virtual ~TLibTreeNode() = default;
    TLibTreeNode(const TLibTreeNode&) = delete;
    TLibTreeNode& operator=(const TLibTreeNode&) = delete;

    // One node and its sub-tree from the reader; false when a field is
    // missing or the tree nests deeper than a path can.
    bool Read(CByteReader& reader, int depth);
    void Write(std::vector<uint8_t>& out) const;

    LibTreeFind Find(const char* path, CString& outLib) const;
    LibTreeRemove Remove(const char* path);
    // Adds (parent + "\" + name, library) for every library of the sub-tree
    // whose file exists.
    void CollectRecords(const CString& parentFolder, TLibRecordList& records) const;

    // A library flag, the library when flagged, the child count and the
    // children: the part a node and a drive share in the file.
    static bool ReadBody(CByteReader& reader, int depth, bool& hasLibrary, CString& library,
                         std::vector<std::unique_ptr<TLibTreeNode>>& children);
    static void WriteBody(std::vector<uint8_t>& out, bool hasLibrary, const CString& library,
                          const std::vector<std::unique_ptr<TLibTreeNode>>& children);

    // Asks each child in turn; shared by the drive index.
    static LibTreeFind FindInChildren(const std::vector<std::unique_ptr<TLibTreeNode>>& children, const char* rest,
                                      CString& outLib);
    static LibTreeRemove RemoveFromChildren(std::vector<std::unique_ptr<TLibTreeNode>>& children, const char* rest);

    CString name;
    bool hasLibrary = false;
    CString library;
    std::vector<std::unique_ptr<TLibTreeNode>> children;
};

// Reads a NUL-terminated text; false when the NUL is missing.
bool ReadTreeText(CByteReader& reader, CString& text);
void AppendTreeText(std::vector<uint8_t>& out, const char* text);
void AppendU32(std::vector<uint8_t>& out, uint32_t value);
