// The options pages store a value only when it differs from the stored
// one, and note that something changed.
#pragma once
#include <windows.h>

template <typename Stored, typename Value>
void StoreIfDifferent(Stored& stored, Value value, BYTE& changed)
{
    Stored wanted = static_cast<Stored>(value);
    if (stored != wanted) {
        stored = wanted;
        changed = 1;
    }
}
