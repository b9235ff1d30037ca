// The library index's records: (folder, library file) pairs sorted by
// folder without regard to case, no folder twice, and the index file of the
// current layout that stores them.
#pragma once
#include <windows.h>
#include <stdint.h>

#include <vector>

#include "platform/classlib/cstring.h"

// A folder or library path longer than this is refused.
const int kMaxLibRecordPath = 511;

struct TLibRecord {
    CString folder;   // without a trailing backslash
    CString library;  // full path of the library file
};

class TLibRecordList {
public:
    // Records the pair (one trailing backslash of the folder dropped); a
    // different library recorded for the folder before is deleted from
    // disk. Pairs with an empty or too long text, or whose library is not a
    // library file name, are refused (false).
    bool Add(const char* folder, const char* library);
    // Drops the folder's record and deletes its library file.
    bool Remove(const char* folder);
    // The folder's record, or null.
    const TLibRecord* Find(const char* folder) const;
    void Clear() { m_records.clear(); }

    int GetCount() const { return static_cast<int>(m_records.size()); }
    const TLibRecord* GetAt(int index) const;

    // The records of an index file; a missing, foreign or newer file leaves
    // the list empty.
    void Load(const char* path);
    void Parse(const std::vector<uint8_t>& bytes);
    // Writes the whole list to the index file (replaced when complete).
    bool Save(const char* path) const;
    std::vector<uint8_t> Serialise() const;

private:
    // The index of the folder, or of the record it would go before.
    size_t LowerBound(const CString& folder, bool& found) const;

    std::vector<TLibRecord> m_records;
};
