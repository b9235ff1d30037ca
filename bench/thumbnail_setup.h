// What the benchmarks of the thumbnail task thread and of the file list
// share: the clock, the thumbnail library set up in a cache folder of their
// own, a library written for a folder of files, and the end of a run.
#pragma once
#include <windows.h>

#include <string>

class TTaskManageThread;

// Seconds on the performance counter.
double BenchSeconds();

// Unbuffered output (Wine may end the process without flushing it), the
// thumbnail library in the cache folder, browse mode and the file types.
void StartThumbnailBench(const char* cacheFolder);

// Puts one plain thumbnail of the size for each file named by the printf
// pattern (with its number, 0 .. count-1) into the folder's library, as a
// first visit leaves them; 'added' gets the seconds the adding took. False
// when the library was not written.
bool WriteThumbnailLibrary(const std::string& folder, const char* namePattern, int count, int width, int height,
                           double* added = nullptr);

// Waits until the library writer is idle; false when there is none.
bool WaitForLibraryWriter();

// Seconds to allocate and first touch that many bytes, as copies of the
// thumbnails the list keeps would have to be: what this machine's new
// memory costs on its own.
double TouchFreshMemory(size_t bytes);

// Stops the task thread (the program quitting) with a bounded wait.
void StopTaskThread(TTaskManageThread& thread);

// Waits for the library writer and removes the library objects.
void EndThumbnailBench();
