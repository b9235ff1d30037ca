// COleDataObject: a borrowed or attached IDataObject (a drop's data or the
// clipboard's), read format by format.
#pragma once
#include <windows.h>
#include <ole2.h>

class COleDataObject {
public:
    COleDataObject() = default;
    ~COleDataObject() { Release(); }
    COleDataObject(const COleDataObject&) = delete;
    COleDataObject& operator=(const COleDataObject&) = delete;

    // Uses the object; with autoRelease the reference is given back by
    // Release (else the caller keeps it).
    void Attach(IDataObject* dataObject, BOOL autoRelease = TRUE);
    // The clipboard's data object; FALSE when it cannot be had.
    BOOL AttachClipboard();
    void Release();
    IDataObject* GetIDataObject() const { return m_dataObject; }

    // The format is offered as global memory.
    BOOL IsDataAvailable(CLIPFORMAT format) const;
    // A global memory copy of the format's data (the caller frees it);
    // null when it is not offered as global memory.
    HGLOBAL GetGlobalData(CLIPFORMAT format) const;

    // Walks the offered formats: BeginEnumFormats, then GetNextFormat until
    // it returns FALSE.
    void BeginEnumFormats();
    BOOL GetNextFormat(FORMATETC* format);

private:
    IDataObject* m_dataObject = nullptr;
    BOOL m_autoRelease = FALSE;
    IEnumFORMATETC* m_formats = nullptr;
};
