// The guard around every place where the library's callers' code runs
// under a Win32 callback or a thread start: no exception may leave it.
#pragma once
#include <windows.h>
#include "platform/classlib/exceptions.h"

// Runs body(); an exception that leaves it is swallowed (a class-library
// exception is freed) and noted in the debug output with what was
// running. Returns whether body finished.
template <typename Body>
bool AfxCallGuarded(LPCSTR what, Body body)
{
    try {
        body();
        return true;
    } catch (CException* exception) {
        exception->Delete();
    } catch (...) {
    }
    char note[160];
    wsprintfA(note, "classlib: an exception left %s\n", what);
    ::OutputDebugStringA(note);
    return false;
}
