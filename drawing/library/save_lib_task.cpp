#include "drawing/library/save_lib_task.h"

#include <vector>

#include "drawing/library/library_header.h"
#include "drawing/library/single_image.h"
#include "platform/base/file_replace.h"

IMPLEMENT_DYNCREATE(TSaveLibTask, CObject)

namespace {

// Bytes gathered before each write to the file.
const size_t kWriteChunkBytes = 1u << 20;

}  // namespace

TSaveLibTask::TSaveLibTask() : records(nullptr), force(0), width(0), height(0)
{
}

TSaveLibTask::TSaveLibTask(const char* folderPath, CObArray* taken, bool forceWrite, uint32_t thumbWidth,
                           uint32_t thumbHeight)
    : folder(folderPath), records(taken), force(forceWrite ? 1 : 0), width(thumbWidth), height(thumbHeight)
{
}

TSaveLibTask::~TSaveLibTask()
{
    if (!records)
        return;
    for (INT_PTR i = 0; i < records->GetSize(); ++i)
        delete records->GetAt(i);
    delete records;
}

LibWriteResult TSaveLibTask::WriteLib(const char* libraryFile) const
{
    CReplacingFile file;
    if (file.Open(libraryFile) != ReplaceFileDone)
        return LibWriteFailed;
    std::vector<uint8_t> pending;
    AppendLibHeader(pending, folder, width, height);
    uint64_t position = 0;
    int written = 0;
    bool ok = true;
    for (INT_PTR i = 0; records && i < records->GetSize() && ok; ++i) {
        const TSingleImage* record = static_cast<const TSingleImage*>(records->GetAt(i));
        if (record && record->Write(pending, position + pending.size(), folder, force != 0))
            ++written;
        if (pending.size() >= kWriteChunkBytes) {
            ok = file.Write(pending.data(), static_cast<DWORD>(pending.size()));
            position += pending.size();
            pending.clear();
        }
    }
    if (written == 0) {
        file.Abandon();
        return LibNothingToWrite;
    }
    if (ok && !pending.empty())
        ok = file.Write(pending.data(), static_cast<DWORD>(pending.size()));
    if (!ok || file.Commit() != ReplaceFileDone) {
        file.Abandon();
        return LibWriteFailed;
    }
    return LibWritten;
}
