// What the program's command line asks for.
#pragma once
#include <windows.h>

#include "platform/classlib/cstring.h"

enum CommandLineRequest : WORD {
    CMDLINE_NOTHING = 0,   // browse mode with no folder
    CMDLINE_BROWSE = 1,    // path is an existing folder
    CMDLINE_VIEW = 2,      // path is an existing file of a supported kind
};

// argv are the C runtime's words (argv[0] is the program):
//   "/v" <file>   view the file;
//   "/b" <folder> browse the folder (switches compared case-blind);
//   <path>        view a supported file, else browse a folder.
// path is set from the words even when the result is CMDLINE_NOTHING.
WORD ParseCommandLine(int argc, char** argv, CString& path);
