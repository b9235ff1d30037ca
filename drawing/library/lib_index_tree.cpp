#include "drawing/library/lib_index_tree.h"

#include <new>
#include <utility>
#include <vector>

#include "core/file_utils.h"
#include "drawing/library/lib_drive_index.h"
#include "drawing/library/lib_file_names.h"
#include "drawing/library/library_header.h"

namespace {

const char kIndexFileName[] = "QuorvantixLibIndex.qrvidx";
const char kOldIndexPattern[] = "QuorvantixLibIndex*.qrvidx";

TLibIndexTree* g_libIndexTree = nullptr;

// Calls found(name) for every file (not folder) of the folder matching the
// pattern, until it returns true.
template <class Found>
void ForEachFile(const CString& folder, const char* pattern, Found found)
{
    WIN32_FIND_DATAA data;
    HANDLE search = FindFirstFileA(folder + pattern, &data);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && found(CString(data.cFileName)))
            break;
    } while (FindNextFileA(search, &data));
    FindClose(search);
}

// An existing file that may be read and written.
bool IsWritableFile(const char* path)
{
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES &&
           !(attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY));
}

}  // namespace

TLibIndexTree::TLibIndexTree(const char* path, bool saveInBrowserFolderFirst, bool readFromBrowserFolderFirst)
    : m_path(AddTrailingBackslash(path)),
      m_saveInBrowserFolderFirst(saveInBrowserFolderFirst),
      m_readFromBrowserFolderFirst(readFromBrowserFolderFirst)
{
    m_records.Load(GetIndexFilePath());
}

TLibIndexTree::~TLibIndexTree()
{
    m_records.Save(GetIndexFilePath());
}

CString TLibIndexTree::GetIndexFilePath() const
{
    CSingleLock hold(&m_lock, TRUE);
    return m_path + kIndexFileName;
}

CString TLibIndexTree::GetPath() const
{
    CSingleLock hold(&m_lock, TRUE);
    return m_path;
}

void TLibIndexTree::SetPath(const char* path)
{
    CString folder = AddTrailingBackslash(path);
    if (!DirectoryExists(folder) && !CreateDirectoryA(folder, nullptr))
        return;
    CSingleLock hold(&m_lock, TRUE);
    m_path = folder;
}

void TLibIndexTree::AddLib(const char* libPath, const char* folder)
{
    CSingleLock hold(&m_lock, TRUE);
    m_records.Add(folder, libPath);
}

bool TLibIndexTree::FindLib(const char* folder, CString& outLib)
{
    CSingleLock hold(&m_lock, TRUE);
    return FindLibLocked(folder, outLib);
}

bool TLibIndexTree::FindLibLocked(const char* folder, CString& outLib)
{
    if (const TLibRecord* record = m_records.Find(folder)) {
        outLib = record->library;
        return true;
    }
    CString oldIndex;
    if (!FindOldDriveIndexLocked(folder, oldIndex))
        return false;
    TLibDriveIndex drive;
    CString found;
    if (!drive.Load(oldIndex) || !drive.Find(StripTrailingBackslash(folder), found) || !IsLibraryFileName(found))
        return false;
    CString driveName, rest;
    SplitFirstPathPart(folder, driveName, rest);
    drive.CollectRecords(driveName, m_records);
    DeleteFileA(oldIndex);
    outLib = found;
    return true;
}

LibReadChoice TLibIndexTree::ChooseLibForRead(const char* folder, CString& outLib)
{
    CString own;
    bool ownExists = false;
    if (m_saveInBrowserFolderFirst || m_readFromBrowserFolderFirst)
        ownExists = MakeFolderLibPath(folder, true, own);

    CString indexed;
    bool indexedExists = false;
    {
        CSingleLock hold(&m_lock, TRUE);
        CString found;
        if (FindLibLocked(folder, found)) {
            if (FileExists(found)) {
                indexed = found;
                indexedExists = true;
            } else {
                indexed = m_path + GetFileNameExt(found);
                indexedExists = FileExists(indexed);
            }
        }
    }

    if (ownExists && indexedExists) {
        FILETIME ownTime, indexedTime;
        GetFileModifiedTime(own, ownTime);
        GetFileModifiedTime(indexed, indexedTime);
        if (CompareFileTime(&ownTime, &indexedTime) > 0) {
            outLib = own;
            return LibReadFolderOwn;
        }
        outLib = indexed;
        return LibReadIndexed;
    }
    if (ownExists) {
        outLib = own;
        return LibReadFolderOwn;
    }
    if (indexedExists) {
        outLib = indexed;
        return LibReadIndexed;
    }
    return LibReadNone;
}

LibWriteChoice TLibIndexTree::ChooseLibForWrite(const char* folder, CString& outLib)
{
    if (m_saveInBrowserFolderFirst) {
        MakeFolderLibPath(folder, false, outLib);
        return LibWriteFolderOwn;
    }
    CSingleLock hold(&m_lock, TRUE);
    CString found;
    if (FindLibLocked(folder, found)) {
        outLib = IsWritableFile(found) ? found : m_path + GetFileNameExt(found);
        return LibWriteCacheFolder;
    }
    for (int number = 0;; ++number) {
        CString candidate = m_path + MakeNumberedLibName(number);
        if (GetFileAttributesA(candidate) == INVALID_FILE_ATTRIBUTES) {
            outLib = candidate;
            return LibWriteCacheFolder;
        }
    }
}

void TLibIndexTree::RemoveLib(const char* folder)
{
    CSingleLock hold(&m_lock, TRUE);
    m_records.Remove(folder);
    CString oldIndex;
    if (FindOldDriveIndexLocked(folder, oldIndex))
        TLibDriveIndex::RemoveFromFile(oldIndex, StripTrailingBackslash(folder));
}

// The headers are read outside the lock: a file another program holds is
// retried for a while, and the other threads need not wait for that.
void TLibIndexTree::DeleteInvalidLibs()
{
    const CString cacheFolder = GetPath();
    std::vector<std::pair<CString, CString>> found;
    ForEachFile(cacheFolder, kNumberedLibPattern, [&](const CString& name) {
        CString file = cacheFolder + name;
        CString folder;
        LibHeaderRead read = ReadLibFolder(file, folder);
        if (read == LibHeaderValid)
            found.emplace_back(folder, file);
        else if (read == LibHeaderDamaged)
            DeleteFileA(file);
        return false;
    });
    CSingleLock hold(&m_lock, TRUE);
    m_records.Clear();
    for (const auto& pair : found)
        m_records.Add(pair.first, pair.second);
}

bool TLibIndexTree::FindOldDriveIndex(const char* path, CString& outFile)
{
    CSingleLock hold(&m_lock, TRUE);
    return FindOldDriveIndexLocked(path, outFile);
}

// The drive is asked for its key only when the cache folder holds index
// files at all: most never do, and asking a drive can be slow.
bool TLibIndexTree::FindOldDriveIndexLocked(const char* path, CString& outFile)
{
    const CString cacheFolder = m_path;
    std::vector<CString> files;
    ForEachFile(cacheFolder, kOldIndexPattern, [&](const CString& name) {
        if (name.CompareNoCase(kIndexFileName) != 0)
            files.push_back(cacheFolder + name);
        return false;
    });
    uint32_t driveType = 0, serial = 0;
    if (files.empty() || !GetDriveKey(path, driveType, serial))
        return false;
    for (const CString& file : files) {
        if (TLibDriveIndex::IsOldDriveIndexFile(file, driveType, serial)) {
            outFile = file;
            return true;
        }
    }
    return false;
}

int TLibIndexTree::GetRecordCount() const
{
    CSingleLock hold(&m_lock, TRUE);
    return m_records.GetCount();
}

bool TLibIndexTree::GetRecord(int index, CString& folder, CString& library) const
{
    CSingleLock hold(&m_lock, TRUE);
    const TLibRecord* record = m_records.GetAt(index);
    if (!record)
        return false;
    folder = record->folder;
    library = record->library;
    return true;
}

void CreateLibIndexTree(const char* path, bool saveInBrowserFolderFirst, bool readFromBrowserFolderFirst)
{
    delete g_libIndexTree;
    g_libIndexTree = new (std::nothrow) TLibIndexTree(path, saveInBrowserFolderFirst, readFromBrowserFolderFirst);
}

TLibIndexTree* GetLibIndexTree()
{
    return g_libIndexTree;
}

void DeleteLibIndexTree()
{
    delete g_libIndexTree;
    g_libIndexTree = nullptr;
}
