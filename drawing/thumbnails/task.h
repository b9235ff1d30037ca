// One thumbnail job: the file of one row of the file list, and the
// thumbnail made for it.
#pragma once
#include <windows.h>
#include <stdint.h>

#include "platform/classlib/cstring.h"
#include "platform/classlib/object.h"

class CDC;
class CDib;
class KBMP;

// Result codes stored in a task.
enum TaskResult {
    TASK_RESULT_NONE = 0,       // no picture (never stored)
    TASK_RESULT_MADE = 1,       // drawn, decoded or found in the cache
    TASK_RESULT_FAILED = 2,     // failure picture, or the drawing was stopped
    TASK_RESULT_PREVIEW = 3,    // the preview picture stored in the drawing
    TASK_RESULT_PASSWORD = 4,   // password-protected drawing (never stored)
};

class TTask : public CObject {
public:
    TTask();
    TTask(const char* path, int32_t itemValue, bool quick, int32_t fileKind);
    // Deletes the thumbnail and any working bitmap.
    ~TTask() override;

    // An empty thumbnail (made when missing) for a width x height box.
    void PrepareThumbnail(int width, int height);
    // A memory device context on a new working bitmap of the box size (or
    // of the given size); null when it cannot be made.
    CDC* BeginDraw(CDC* reference, int bitsPerPixel);
    CDC* BeginDrawSized(CDC* reference, int width, int height, int bitsPerPixel);
    // Makes the drawing the thumbnail's image and drops the working bitmap.
    void EndDraw();
    // Asks the thumbnail cache for the file's thumbnail; true on a hit.
    bool LookupCache();

    CDib* workingBitmap;
    int32_t fileKind;
    CString path;
    int32_t itemValue;
    BYTE done;
    BYTE quick;
    BYTE taken;
    int32_t result;
    KBMP* thumbnail;
};
