// What the save-thumbnails dialog asks and the file list's thumbnail writer
// follows.
#pragma once
#include <windows.h>
#include <stdint.h>

#include "platform/classlib/cstring.h"

enum ThumbnailFileFormat : int32_t {
    ThumbnailFileBmp = 0,
    ThumbnailFileJpeg = 1,
    ThumbnailFileGif = 2,
};

enum ExistingThumbnailRule : int32_t {
    ExistingFileOverwrite = 1,
    ExistingFileNumberedName = 2,
    ExistingFileAsk = 3,
};

struct ThumbnailSaveOptions {
    CString folder = "C:\\QuorvantixThumbnail";
    int32_t format = ThumbnailFileGif;
    // 1 every row, 0 the selected rows only.
    BYTE allRows = 1;
    // ExistingThumbnailRule; any value other than 1 and 2 asks.
    int32_t existingFiles = ExistingFileNumberedName;
};
