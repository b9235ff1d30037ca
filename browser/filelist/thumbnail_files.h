// Writing the file list's thumbnails as picture files (BMP, JPEG or GIF),
// one per drawing or image row, named after the source file, into the
// folder the save-thumbnails dialog gave. Every file goes to a temporary
// file beside its target first, so an existing file is either kept or
// wholly replaced.
#pragma once
#include <windows.h>

#include <functional>
#include <vector>

#include "browser/dialogs/thumbnail_save_options.h"
#include "platform/classlib/cstring.h"

class CWnd;
class KBMP;

// One row of the list as the writer sees it.
struct ThumbnailFileRow {
    CString sourcePath;
    // The row's thumbnail; null when it has none.
    const KBMP* thumbnail = nullptr;
    bool selected = false;
    bool folder = false;
};

// The browse frame's progress display: (low, high, position); position -1
// removes it.
typedef std::function<void(int low, int high, int position)> ThumbnailProgress;

enum ThumbnailFileResult {
    ThumbnailFileWritten,
    ThumbnailFileSkipped,
    ThumbnailFileFailed,
};

// Writes the rows' thumbnails by the options, asking about a missing folder
// and, by the rule, about existing files. True when the run went through;
// false when the user stopped it, the folder could not be made or a file
// could not be written (told with a message box). The progress display is
// removed at the end in every case.
bool WriteThumbnailFiles(const std::vector<ThumbnailFileRow>& rows, const ThumbnailSaveOptions& options,
                         const ThumbnailProgress& progress);

// The save-thumbnails command once the list allows it: asks with the
// save-thumbnails dialog, which starts at the shown folder, and writes the
// files on OK. False when cancelled or when the run did not go through.
bool AskAndWriteThumbnailFiles(CWnd* owner, const char* shownFolder, const std::vector<ThumbnailFileRow>& rows,
                               const ThumbnailProgress& progress);

// Writes one row's thumbnail into the folder (ending with a backslash).
ThumbnailFileResult WriteThumbnailFile(const ThumbnailFileRow& row, const ThumbnailSaveOptions& options,
                                       const CString& targetFolder);
