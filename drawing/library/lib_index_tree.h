// The library index: which library file in the cache folder holds the
// thumbnails of which browsed folder, and the choice of the library file to
// read and to write for a folder. One instance lives for the whole run.
//
// The task thread (reading libraries), the writer thread (writing them) and
// the UI thread (settings, clean-up) all use it: every operation holds the
// index's lock for its whole length, so that no thread sees the record list
// or the cache folder half changed.
#pragma once
#include <windows.h>
#include <stdint.h>

#include "drawing/library/lib_record_list.h"
#include "platform/classlib/critical_section.h"
#include "platform/classlib/cstring.h"

// Results of ChooseLibForRead.
enum LibReadChoice { LibReadNone = 0, LibReadFolderOwn = 1, LibReadIndexed = 2 };
// Results of ChooseLibForWrite.
enum LibWriteChoice { LibWriteFolderOwn = 0, LibWriteCacheFolder = 1 };

class TLibIndexTree {
public:
    // Loads the record list from the cache folder's index file; the folder
    // is not checked.
    TLibIndexTree(const char* path, bool saveInBrowserFolderFirst, bool readFromBrowserFolderFirst);
    // Writes the record list to the index file (even when it is empty).
    virtual ~TLibIndexTree();
    TLibIndexTree(const TLibIndexTree&) = delete;
    TLibIndexTree& operator=(const TLibIndexTree&) = delete;

    // The cache folder, with a trailing backslash. SetPath takes the folder
    // only when it exists or can be created.
    CString GetPath() const;
    void SetPath(const char* path);
    bool GetSaveInBrowserFolderFirst() const { return m_saveInBrowserFolderFirst != 0; }
    void SetSaveInBrowserFolderFirst(bool on) { m_saveInBrowserFolderFirst = on; }
    bool GetReadFromBrowserFolderFirst() const { return m_readFromBrowserFolderFirst != 0; }
    void SetReadFromBrowserFolderFirst(bool on) { m_readFromBrowserFolderFirst = on; }

    void AddLib(const char* libPath, const char* folder);
    // The folder's library from the record list, or moved in from an index
    // of the older layout of the folder's drive.
    bool FindLib(const char* folder, CString& outLib);
    LibReadChoice ChooseLibForRead(const char* folder, CString& outLib);
    LibWriteChoice ChooseLibForWrite(const char* folder, CString& outLib);
    // Drops the folder's record (deleting its library file), also from an
    // index of the older layout.
    void RemoveLib(const char* folder);
    // Rebuilds the record list from the library files of the cache folder;
    // a file whose header is damaged is deleted.
    void DeleteInvalidLibs();
    // The older-layout index file of the path's drive in the cache folder.
    bool FindOldDriveIndex(const char* path, CString& outFile);

    // The records, copied out, for the clean-up of the options.
    int GetRecordCount() const;
    bool GetRecord(int index, CString& folder, CString& library) const;

    // The index file of the cache folder.
    CString GetIndexFilePath() const;

private:
    bool FindLibLocked(const char* folder, CString& outLib);
    bool FindOldDriveIndexLocked(const char* path, CString& outFile);

    mutable CCriticalSection m_lock;
    CString m_path;
    TLibRecordList m_records;
    volatile BYTE m_saveInBrowserFolderFirst;
    volatile BYTE m_readFromBrowserFolderFirst;
};

void CreateLibIndexTree(const char* path, bool saveInBrowserFolderFirst, bool readFromBrowserFolderFirst);
TLibIndexTree* GetLibIndexTree();
void DeleteLibIndexTree();
