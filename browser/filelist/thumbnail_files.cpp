#include "browser/filelist/thumbnail_files.h"

#include "browser/dialogs/save_thumbnail_dlg.h"
#include "core/file_name.h"
#include "core/file_utils.h"
#include "graphics/gif_writer.h"
#include "graphics/jpeg_writer.h"
#include "graphics/kbmp.h"
#include "platform/classlib/msgbox.h"
#include "resources/browser_dialogs_ids.h"

namespace {

const int kJpegQuality = 80;
const DWORD kBmpFileHeaderSize = 14;

const char* ExtensionOf(int32_t format)
{
    if (format == ThumbnailFileBmp)
        return ".bmp";
    if (format == ThumbnailFileJpeg)
        return ".jpg";
    return ".gif";
}

bool PathTaken(const char* path)
{
    return ::GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

CString LoadText(UINT id)
{
    CString text;
    text.LoadString(id);
    return text;
}

bool AskToOverwrite(const CString& path)
{
    CString question = LoadText(IDS_OVERWRITE_EXISTING_FILE) + "\n\n     " + path;
    return AfxMessageBox(question, MB_YESNO) == IDYES;
}

// The target folder exists afterwards, or the user was told why not.
bool MakeTargetFolder(const CString& folder)
{
    if (folder.IsEmpty()) {
        AfxMessageBox(IDS_CANNOT_CREATE_FOLDER, MB_OK);
        return false;
    }
    if (DirectoryExists(folder))
        return true;
    if (AfxMessageBox(IDS_CREATE_MISSING_FOLDER, MB_OKCANCEL) != IDOK)
        return false;
    if (CreateDirectories(folder))
        return true;
    AfxMessageBox(IDS_CANNOT_CREATE_FOLDER, MB_OK);
    return false;
}

bool SavePicture(const KBMP& thumbnail, int32_t format, const CString& path)
{
    if (format == ThumbnailFileBmp)
        return thumbnail.Save(path);
    DWORD fileSize = thumbnail.GetFileSize();
    if (thumbnail.info == nullptr || fileSize <= kBmpFileHeaderSize)
        return false;
    if (format == ThumbnailFileJpeg) {
        CJpeg writer;
        return writer.SaveDibBuffer(path, thumbnail.info, fileSize - kBmpFileHeaderSize, true, kJpegQuality);
    }
    CGif writer;
    return writer.SaveDibBuffer(path, thumbnail.info, fileSize - kBmpFileHeaderSize);
}

}  // namespace

ThumbnailFileResult WriteThumbnailFile(const ThumbnailFileRow& row, const ThumbnailSaveOptions& options,
                                       const CString& targetFolder)
{
    if (row.thumbnail == nullptr || row.thumbnail->data == nullptr)
        return ThumbnailFileSkipped;
    CFileName source(row.sourcePath);
    source.SplitPath();
    CString target = targetFolder + source.GetName() + ExtensionOf(options.format);
    if (options.existingFiles == ExistingFileNumberedName) {
        CFileName numbered(target);
        numbered.SplitPath();
        while (PathTaken(target))
            target = numbered.NextNumberedPath();
    } else if (options.existingFiles != ExistingFileOverwrite && PathTaken(target) &&
               !AskToOverwrite(target)) {
        return ThumbnailFileSkipped;
    }
    if (SavePicture(*row.thumbnail, options.format, target))
        return ThumbnailFileWritten;
    AfxMessageBox(LoadText(IDS_THUMBNAIL_FILE_FAILED) + "\n\n     " + target, MB_OK);
    return ThumbnailFileFailed;
}

bool WriteThumbnailFiles(const std::vector<ThumbnailFileRow>& rows, const ThumbnailSaveOptions& options,
                         const ThumbnailProgress& progress)
{
    const int count = static_cast<int>(rows.size());
    CString targetFolder = AddTrailingBackslash(options.folder);
    bool folderReady = false;
    bool completed = true;
    for (int index = 0; index < count; ++index) {
        progress(0, count, index);
        const ThumbnailFileRow& row = rows[index];
        if (row.folder || (!options.allRows && !row.selected) || row.thumbnail == nullptr)
            continue;
        if (!folderReady)
            folderReady = MakeTargetFolder(options.folder);
        if (!folderReady || WriteThumbnailFile(row, options, targetFolder) == ThumbnailFileFailed) {
            completed = false;
            break;
        }
    }
    progress(0, count, -1);
    return completed;
}

bool AskAndWriteThumbnailFiles(CWnd* owner, const char* shownFolder, const std::vector<ThumbnailFileRow>& rows,
                               const ThumbnailProgress& progress)
{
    CSaveThumbnailDlg dialog(shownFolder, owner);
    if (dialog.DoModal() != IDOK)
        return false;
    return WriteThumbnailFiles(rows, dialog.m_options, progress);
}
