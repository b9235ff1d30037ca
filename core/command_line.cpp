#include "core/command_line.h"

#include "core/file_types.h"
#include "core/file_utils.h"

namespace {

bool IsViewableFile(const char* path)
{
    return GetDrawingFileInfo(path) != nullptr && FileExists(path);
}

}  // namespace

WORD ParseCommandLine(int argc, char** argv, CString& path)
{
    if (argc >= 3) {
        CString option(argv[1]);
        option.MakeLower();
        path = argv[2];
        if (option == "/v")
            return IsViewableFile(path) ? CMDLINE_VIEW : CMDLINE_NOTHING;
        if (option == "/b")
            return DirectoryExists(path) ? CMDLINE_BROWSE : CMDLINE_NOTHING;
        return CMDLINE_NOTHING;
    }
    if (argc == 2) {
        path = argv[1];
        if (IsViewableFile(path))
            return CMDLINE_VIEW;
        return DirectoryExists(path) ? CMDLINE_BROWSE : CMDLINE_NOTHING;
    }
    return CMDLINE_NOTHING;
}
