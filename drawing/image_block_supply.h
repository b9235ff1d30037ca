// The thumbnails of a folder's library read ahead on helper threads. Each
// thumbnail taken from the library is a block of new memory of its own, and
// on a large folder the first writes into so many new pages cost more than
// the reading itself. The helpers read the records' images, in the order
// they were loaded, into blocks of their own, side by side, through handles
// of their own on the same file; the thread that looks the thumbnails up
// then finds them read. Every block comes from malloc and is freed as any
// other.
#pragma once
#include <windows.h>
#include <stdint.h>

#include <memory>
#include <vector>

#include "platform/classlib/cstring.h"

class CLibrarySource;

class TImageBlockSupply {
public:
    // Where one record's image lies in the library file.
    struct Span {
        uint64_t offset;
        uint32_t size;
    };

    // Starts `helpers` threads (none when it is 0 or they cannot start).
    explicit TImageBlockSupply(int helpers);
    // Ends the helpers (each finishes its block, at most a bounded wait) and
    // frees the blocks still ready.
    ~TImageBlockSupply();
    TImageBlockSupply(const TImageBlockSupply&) = delete;
    TImageBlockSupply& operator=(const TImageBlockSupply&) = delete;

    // From now on the images at the spans of the library file `path` are
    // read ahead in this order, a bounded number at a time, when the file
    // the helpers open there is the source's own; what was read for
    // earlier spans is dropped.
    void Expect(const char* path, const std::shared_ptr<CLibrarySource>& source, std::vector<Span> spans);
    // Stops reading ahead and drops what was read; returns once the helpers
    // have closed the file (a bounded wait).
    void Stop();
    // The image read ahead for the span (the caller owns the block), or null
    // when there is none: a look-up out of the expected order then moves the
    // reading on to the spans after this one.
    BYTE* Take(uint64_t offset, uint32_t size);

    struct Shared;

private:
    std::shared_ptr<Shared> m_shared;
    std::vector<HANDLE> m_threads;
};
