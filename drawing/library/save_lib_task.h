// One request to the library writer: the records of a folder to be written
// into its library file.
#pragma once
#include <windows.h>
#include <stdint.h>

#include "platform/classlib/collections_array.h"
#include "platform/classlib/cstring.h"

enum LibWriteResult {
    LibWritten,       // the file holds at least one record now
    LibNothingToWrite,  // no record qualified: the library is to go
    LibWriteFailed,   // the file could not be written; it is as it was
};

class TSaveLibTask : public CObject {
    DECLARE_DYNCREATE(TSaveLibTask)

public:
    TSaveLibTask();
    // Takes the records (TSingleImage*) over.
    TSaveLibTask(const char* folder, CObArray* records, bool force, uint32_t width, uint32_t height);
    // Deletes every record and the array.
    ~TSaveLibTask() override;

    // Writes the library file: to a temporary file beside it, renamed over
    // it when complete.
    LibWriteResult WriteLib(const char* libraryFile) const;

    CString folder;
    CObArray* records;
    BYTE force;
    uint32_t width;
    uint32_t height;
};
