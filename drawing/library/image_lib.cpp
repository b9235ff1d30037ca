#include "drawing/library/image_lib.h"

#include <memory>
#include <new>

#include "core/file_utils.h"
#include "drawing/library/lib_file_names.h"
#include "drawing/library/lib_index_tree.h"
#include "drawing/library/library_header.h"
#include "drawing/library/library_source.h"
#include "drawing/library/save_lib_thread.h"
#include "drawing/library/single_image.h"
#include "graphics/kbmp.h"
#include "platform/base/byte_reader.h"

namespace {

const INT_PTR kRecordGrowth = 128;

// The library file to read for the folder, with the choice the index made.
LibReadChoice ChooseLibraryFile(const char* folder, CString& file)
{
    TLibIndexTree* index = GetLibIndexTree();
    if (index)
        return index->ChooseLibForRead(folder, file);
    return MakeFolderLibPath(folder, true, file) ? LibReadFolderOwn : LibReadNone;
}

// The key of a file name in the name table.
std::string NameKey(const char* name)
{
    CString key(name);
    key.MakeLower();
    return std::string(key.GetString(), key.GetLength());
}

}  // namespace

TImageLib::TImageLib()
    : m_records(nullptr),
      m_cursor(0),
      m_hits(0),
      m_writer(nullptr),
      m_modified(0),
      m_loadBlocked(false)
{
    NewRecordArray();
    m_writer = TSaveLibThread::Start();
}

TImageLib::~TImageLib()
{
    Clear();
    delete m_records;
    if (m_writer)
        m_writer->Stop();
}

void TImageLib::NewRecordArray()
{
    m_records = new CObArray;
    m_records->SetSize(0, kRecordGrowth);
    m_byName.clear();
    m_cursor = 0;
    m_hits = 0;
}

void TImageLib::Append(TSingleImage* record)
{
    const int index = static_cast<int>(m_records->Add(record));
    m_byName[NameKey(record->name)].push_back(index);
}

TSingleImage* TImageLib::RecordAt(int index) const
{
    return static_cast<TSingleImage*>(m_records->GetAt(index));
}

void TImageLib::Clear()
{
    for (INT_PTR i = 0; i < m_records->GetSize(); ++i)
        delete m_records->GetAt(i);
    m_records->RemoveAll();
    m_records->SetSize(0, kRecordGrowth);
    m_byName.clear();
    m_cursor = 0;
    m_hits = 0;
}

// The record at the cursor is tried first: thumbnails looked up in list
// order are found at the first comparison. Otherwise the records of that
// name are tried from the cursor on, wrapping round.
int TImageLib::Find(const char* path, int width, int height)
{
    const CString name = GetFileNameExt(path);
    const int count = GetCount();
    int found = -1;
    if (m_cursor < count && RecordAt(m_cursor)->Matches(path, name, width, height)) {
        found = m_cursor;
    } else {
        auto named = m_byName.find(NameKey(name));
        if (named == m_byName.end())
            return -1;
        for (int pass = 0; pass < 2 && found < 0; ++pass) {
            for (int index : named->second) {
                const bool inPass = pass == 0 ? index >= m_cursor : index < m_cursor;
                if (inPass && RecordAt(index)->Matches(path, name, width, height)) {
                    found = index;
                    break;
                }
            }
        }
    }
    if (found >= 0)
        m_cursor = found + 1 < count ? found + 1 : 0;
    return found;
}

bool TImageLib::Lookup(const char* path, int width, int height, KBMP& image)
{
    if (GetCount() == 0)
        return false;
    const int found = Find(path, width, height);
    if (found < 0)
        return false;
    TSingleImage* record = RecordAt(found);
    if (!record->GetImage(image))
        return false;
    image.boxWidth = width;
    image.boxHeight = height;
    record->used = 1;
    ++m_hits;
    return true;
}

void TImageLib::Add(const char* path, const KBMP& image, int width, int height)
{
    m_modified = 1;
    const CString name = GetFileNameExt(path);
    auto named = m_byName.find(NameKey(name));
    TSingleImage* record = named != m_byName.end() ? RecordAt(named->second.front()) : nullptr;
    std::unique_ptr<TSingleImage> added;
    if (!record) {
        added.reset(new TSingleImage);
        record = added.get();
    }
    record->Set(path, image);
    record->width = static_cast<uint32_t>(width);
    record->height = static_cast<uint32_t>(height);
    record->used = 1;
    if (added)
        Append(added.release());
}

void TImageLib::Load(const char* folder)
{
    Clear();
    m_modified = 0;
    m_hits = 0;
    m_loadBlocked = false;
    CString file;
    const LibReadChoice choice = ChooseLibraryFile(folder, file);
    if (choice == LibReadNone)
        return;
    LibraryReadResult opened = LibraryUnreadable;
    std::shared_ptr<CLibrarySource> source = CLibrarySource::Open(file, opened);
    if (opened == LibraryBusy || opened == LibraryUnreadable) {
        m_loadBlocked = true;
        return;
    }
    if (!source)
        return;
    uint8_t headerBytes[kMaxLibHeaderBytes];
    const uint32_t headerSize =
        source->Size() < kMaxLibHeaderBytes ? static_cast<uint32_t>(source->Size()) : kMaxLibHeaderBytes;
    if (!source->ReadAt(0, headerBytes, headerSize)) {
        m_loadBlocked = true;
        return;
    }
    CByteReader reader(headerBytes, headerSize);
    TLibHeader header;
    if (!ParseLibHeader(reader, header))
        return;
    // A library of the cache folder must be the folder's own; an index that
    // names another folder's library is not trusted.
    if (choice == LibReadIndexed &&
        StripTrailingBackslash(header.folder).CompareNoCase(StripTrailingBackslash(folder)) != 0)
        return;
    uint64_t position = header.firstRecord;
    while (position < source->Size()) {
        std::unique_ptr<TSingleImage> record(new TSingleImage);
        if (!record->Read(source, position))
            break;
        Append(record.release());
    }
    m_cursor = 0;
}

bool TImageLib::CheckLibFile(const char* folder, int& width, int& height)
{
    CString file;
    if (ChooseLibraryFile(folder, file) == LibReadNone)
        return false;
    TLibHeader header;
    if (ReadLibHeader(file, header) != LibHeaderValid || header.width == 0 || header.height == 0)
        return false;
    width = static_cast<int>(header.width);
    height = static_cast<int>(header.height);
    return true;
}

void TImageLib::Save(const char* folder, bool force, int width, int height)
{
    if (m_loadBlocked) {
        Clear();
        return;
    }
    const bool changed = m_modified || GetCount() != m_hits;
    if (changed && GetCount() > 0) {
        if (m_writer && m_writer->AddTask(folder, m_records, force, width, height))
            NewRecordArray();
        else
            Clear();
        m_modified = 0;
        return;
    }
    if (GetCount() > 0 || !folder || !*folder)
        return;
    CString file;
    const LibReadChoice choice = ChooseLibraryFile(folder, file);
    if (choice == LibReadNone)
        return;
    if (FileExists(file))
        DeleteFileA(file);
    if (choice == LibReadIndexed && GetLibIndexTree())
        GetLibIndexTree()->RemoveLib(folder);
}
