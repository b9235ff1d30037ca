// DRAWINGINFO: the file information of the drawing the drawing thread
// opened or inspected last (summary properties, custom properties, file
// times, format version text). Written on the drawing thread, read on the UI
// thread: a fill builds a local record and publishes it in one step under
// the record's lock; readers take a copy with Snapshot.
#pragma once
#include <stdint.h>

#include <windows.h>

#include "platform/classlib/classlib_core.h"
#include "platform/classlib/datetime.h"

class CDrawing;

class DRAWINGINFO {
public:
    enum { kMaxCustom = 10 };

    DRAWINGINFO();
    virtual ~DRAWINGINFO();

    // Set count 0, every text emptied, editing time and custom count 0; the
    // file times stay.
    void Reset();
    // Set count 0 (nothing known), the texts and times kept.
    void ClearCount();
    // Copies the whole record (under its lock) into `out`.
    void Snapshot(DRAWINGINFO* out) const;

    // The property callback handed to CDrawing::enumProperties.
    static int StoreProperty(int id, const char* text, void* record);
    // Fills `record` from an open drawing; false when there is no drawing.
    static bool FillFromDrawing(CDrawing* drawing, DRAWINGINFO* record);
    static CString FormatVersion(short code);

    int setCount;  // properties reported plus 2 for the file times; 0 = nothing known
    CString title;
    CString subject;
    CString author;
    CString keywords;
    CString property5;
    CString property0;
    CTime created;
    CTime modified;
    CString property6;
    uint16_t editingHours;  // the total editing time
    uint16_t editingMinutes;
    CString custom[kMaxCustom];
    short customCount;
    CString formatText;

private:
    DRAWINGINFO(const DRAWINGINFO&) = delete;
    void StoreEditingTime(const char* minutes);
    DRAWINGINFO& operator=(const DRAWINGINFO&) = delete;
    void CopyFieldsFrom(const DRAWINGINFO& other);

    mutable CRITICAL_SECTION m_lock;
};
