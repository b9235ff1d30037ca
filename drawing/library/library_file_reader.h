// Reading a thumbnail library or index file whole, with the open retried
// while another thread or process holds the file: access denied is retried
// up to `accessDeniedTries` times 100 ms apart; a sharing violation a few
// times only, so that a file another program keeps open is skipped soon.
#pragma once
#include <windows.h>
#include <stddef.h>
#include <stdint.h>

#include <vector>

enum LibraryReadResult {
    LibraryRead,        // bytes holds the file (at most maxBytes of it)
    LibraryMissing,     // no such file
    LibraryBusy,        // held by somebody else through every try
    LibraryUnreadable,  // any other failure
};

// Others may read the file (and rename it) but not write it meanwhile;
// exclusive keeps them from reading too.
enum LibraryShare { LibraryShareRead, LibraryShareExclusive };

const int kLibraryOpenTries = 100;

// Opens the file for reading with the retries above; INVALID_HANDLE_VALUE
// and the reason when it cannot be opened.
HANDLE OpenLibraryFile(const char* path, LibraryShare share, int accessDeniedTries, LibraryReadResult& result);

LibraryReadResult ReadLibraryFile(const char* path, LibraryShare share, int accessDeniedTries, size_t maxBytes,
                                  std::vector<uint8_t>& bytes);
