// The shell objects the whole process shares: the desktop folder, the
// Send To folder, the small system image list and the shell allocator.
// Made once, on first use from the UI thread.
#pragma once
#include <windows.h>
#include <shlobj.h>

struct CShellStatics {
    IShellFolder* desktop = nullptr;
    // Null when the Send To folder cannot be bound.
    IShellFolder* sendTo = nullptr;
    HIMAGELIST smallImages = nullptr;
    IMalloc* allocator = nullptr;
};

// The statics, made on the first call. They live until the process ends:
// under Wine a release after the program has ended may end the process
// before the other global objects are gone.
const CShellStatics& ShellStatics();
