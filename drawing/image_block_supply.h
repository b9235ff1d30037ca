// Memory for the thumbnails read from a folder's library, made ready ahead
// on helper threads. A thumbnail taken from the library is a fresh block of
// its own; on a large folder the first writes into so many new pages cost
// more than reading the thumbnails. The helpers allocate the blocks and
// write into each page beforehand, side by side, so the thread that reads
// the thumbnails finds them ready. Every block comes from malloc and is
// freed as any other.
#pragma once
#include <windows.h>
#include <stdint.h>

#include <memory>
#include <vector>

class TImageBlockSupply {
public:
    // Starts `helpers` threads (none when it is 0 or they cannot start).
    explicit TImageBlockSupply(int helpers);
    // Ends the helpers (each finishes its block, at most a bounded wait) and
    // frees the blocks still ready.
    ~TImageBlockSupply();
    TImageBlockSupply(const TImageBlockSupply&) = delete;
    TImageBlockSupply& operator=(const TImageBlockSupply&) = delete;

    // From now on up to `count` blocks of `size` bytes are made ready, a
    // bounded number at a time; blocks of another size are freed. A count of
    // 0 stops the supply.
    void Expect(uint32_t size, int count);
    // A block of `size` bytes made with malloc (the caller frees it): a ready
    // one when there is one of that size, else a new one; null when memory
    // runs out.
    BYTE* Take(uint32_t size);

    struct Shared;

private:
    std::shared_ptr<Shared> m_shared;
    std::vector<HANDLE> m_threads;
};
