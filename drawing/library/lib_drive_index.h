// An index file of the older layout: one tree of folder names per drive,
// identified by the drive's type and volume serial number. Such files are
// only read, to move their entries into the record list, and rewritten when
// an entry is removed from them.
#pragma once
#include <windows.h>
#include <stdint.h>

#include <memory>
#include <vector>

#include "drawing/library/lib_tree_node.h"
#include "platform/classlib/cstring.h"

class TLibRecordList;

// The drive of a path: its type and volume serial number; false when the
// volume cannot be read or its type is 0 or 1.
bool GetDriveKey(const char* path, uint32_t& driveType, uint32_t& serial);

class TLibDriveIndex {
public:
    TLibDriveIndex() = default;
    virtual ~TLibDriveIndex() = default;
    TLibDriveIndex(const TLibDriveIndex&) = delete;
    TLibDriveIndex& operator=(const TLibDriveIndex&) = delete;

    // The header and the drive block of a whole file; false when the header
    // is not the older layout's or a field is missing.
    bool Parse(const std::vector<uint8_t>& bytes);
    // The whole file: header (version 10), drive block and body.
    std::vector<uint8_t> Serialise() const;
    // Reads the file, the open retried while access is denied.
    bool Load(const char* file);

    // The library of the path (its first part, the drive, is not compared).
    bool Find(const char* path, CString& outLib) const;
    // Removes the path's library (deleting its file) and the nodes left
    // empty; false when it was not there.
    bool Remove(const char* path);
    void CollectRecords(const char* drive, TLibRecordList& records) const;
    bool IsEmpty() const { return !rootHasLibrary && children.empty(); }

    // Removes the path from the file: the file is rewritten, or deleted
    // when nothing is left in it. A file that does not read stays as it is.
    static void RemoveFromFile(const char* file, const char* path);
    // True when the file is an index of the older layout of that drive.
    static bool IsOldDriveIndexFile(const char* file, uint32_t driveType, uint32_t serial);

    uint32_t driveType = 0;
    uint32_t serial = 0;
    bool rootHasLibrary = false;
    CString rootLibrary;
    std::vector<std::unique_ptr<TLibTreeNode>> children;
};
