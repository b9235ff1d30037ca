// The thumbnails of the folder being shown, held in memory: loaded from the
// folder's library file, looked up and added to while thumbnails are made,
// and handed to the writer thread at the end of a batch.
#pragma once
#include <windows.h>
#include <stdint.h>

#include <string>
#include <unordered_map>
#include <vector>

#include "platform/classlib/collections_array.h"
#include "platform/classlib/cstring.h"

class KBMP;
class TSaveLibThread;
class TSingleImage;

class TImageLib : public CObject {
public:
    // Starts the writer thread.
    TImageLib();
    // Stops the writer (after the library it is writing, if any).
    ~TImageLib() override;

    void Clear();
    // The thumbnail of the file made for width x height, when the file has
    // not changed since (lent from the library file when it comes from
    // there); false otherwise.
    bool Lookup(const char* path, int width, int height, KBMP& image);
    // Records a new thumbnail (replacing the file's record, if any).
    void Add(const char* path, const KBMP& image, int width, int height);
    // Reads the folder's library file. A library another program holds is
    // skipped: nothing of it is read, and Save leaves it alone.
    void Load(const char* folder);
    // Hands the records to the writer when something changed, or deletes the
    // folder's library when no record is left.
    void Save(const char* folder, bool force, int width, int height);
    // The thumbnail size stored in the folder's library file.
    static bool CheckLibFile(const char* folder, int& width, int& height);

    int GetCount() const { return static_cast<int>(m_records->GetSize()); }
    TSaveLibThread* GetWriter() const { return m_writer; }

private:
    // The index of the matching record from the cursor on, wrapping round;
    // -1 when none.
    int Find(const char* path, int width, int height);
    TSingleImage* RecordAt(int index) const;
    void NewRecordArray();
    // Appends the record and files it under its name.
    void Append(TSingleImage* record);

    CObArray* m_records;
    // The records' indexes by name without regard to case, in list order,
    // so that a look-up out of list order or an Add need not scan the list.
    std::unordered_map<std::string, std::vector<int>> m_byName;
    int m_cursor;
    int m_hits;
    TSaveLibThread* m_writer;
    BYTE m_modified;
    // The folder's library could not be read (another program holds it):
    // this batch neither writes nor deletes it.
    bool m_loadBlocked;
};
