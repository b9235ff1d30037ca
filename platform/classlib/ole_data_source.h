// COleDataSource: data the program offers to a drag or the clipboard, as
// global memory blocks by format. It owns the blocks it caches until it
// ends (a drop target gets copies).
#pragma once
#include <windows.h>
#include <ole2.h>

#include <vector>

class COleDataSource {
public:
    COleDataSource();
    ~COleDataSource();
    COleDataSource(const COleDataSource&) = delete;
    COleDataSource& operator=(const COleDataSource&) = delete;

    // Offers the block as the format (TYMED_HGLOBAL, DVASPECT_CONTENT);
    // the source owns it from then on, also when a later call replaces it.
    void CacheGlobalData(CLIPFORMAT format, HGLOBAL block);
    // Runs the drag loop (DoDragDrop) with the allowed effects; the effect
    // the target chose, DROPEFFECT_NONE when cancelled.
    DWORD DoDragDrop(DWORD allowedEffects);

    IDataObject* GetInterface();

private:
    class CDataObjectImpl;
    class CDropSourceImpl;
    friend class CDataObjectImpl;

    struct Entry {
        CLIPFORMAT format;
        HGLOBAL block;
    };

    HGLOBAL FindBlock(CLIPFORMAT format) const;

    std::vector<Entry> m_entries;
    CDataObjectImpl* m_dataObject;
    CDropSourceImpl* m_dropSource;
};
