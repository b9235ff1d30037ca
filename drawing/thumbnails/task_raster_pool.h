// Raster thumbnails decoded ahead of the thumbnail task thread. Decoding a
// large photo is the slow part of its thumbnail and runs on one core; the
// pool's helper threads decode the raster files the task thread will come
// to next while it works on the present one. The task thread still takes
// the tasks one by one in its own order, stores every result and tells the
// list window, so the list sees the same results in the same order as
// without the pool; a helper only makes the picture.
#pragma once
#include <windows.h>
#include <stdint.h>

#include <memory>
#include <vector>

#include "platform/classlib/cstring.h"

class TTaskRasterPool {
public:
    // One file the task thread will come to: `key` names its task.
    struct Request {
        const void* key;
        CString path;
        int32_t fileKind;
        int boxWidth;
        int boxHeight;
        bool exifPreview;
    };
    // Starts `helpers` threads (none when it is 0 or they cannot start).
    explicit TTaskRasterPool(int helpers);
    // Ends the helpers: each finishes the file it decodes, at most a bounded
    // wait; a helper still busy then ends on its own later.
    ~TTaskRasterPool();
    TTaskRasterPool(const TTaskRasterPool&) = delete;
    TTaskRasterPool& operator=(const TTaskRasterPool&) = delete;

    int GetHelperCount() const { return static_cast<int>(m_threads.size()); }

    // The files to decode ahead, nearest first: pictures asked for earlier
    // and not named again are dropped, new ones are queued in this order.
    void Ahead(const std::vector<Request>& requests);
    // The picture of the request: from a helper when it was asked for
    // ahead (waiting while the helper still decodes it, until it is done or
    // `stop` becomes non-zero), else decoded here and now. Null when the
    // file cannot be decoded or the wait was given up. The caller owns the
    // picture.
    BYTE* Make(const Request& request, const volatile BYTE& stop);
    // Drops every picture asked for.
    void Clear();

    struct Shared;

private:
    std::shared_ptr<Shared> m_shared;
    std::vector<HANDLE> m_threads;
};

// The number of helper threads a thumbnail stage gets on this computer:
// one a processor, at most 16. The thread they help mostly waits for them,
// and decodes a file itself only when no helper has started on it yet.
int ThumbnailHelperCount();
