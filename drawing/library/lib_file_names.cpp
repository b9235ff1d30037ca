#include "drawing/library/lib_file_names.h"

#include "core/file_utils.h"

const char kFolderLibName[] = "QuorvantixImageCache.qrvlib";
const char kNumberedLibPattern[] = "QuorvantixLib*.qrvlib";

namespace {

const char kLibExtension[] = ".qrvlib";

}  // namespace

bool MakeFolderLibPath(const char* folder, bool mustExist, CString& out)
{
    CString path = AddTrailingBackslash(folder) + kFolderLibName;
    if (mustExist && !FileExists(path))
        return false;
    out = path;
    return true;
}

CString MakeNumberedLibName(int number)
{
    CString name;
    name.Format("QuorvantixLib%06d%s", number, kLibExtension);
    return name;
}

bool IsLibraryFileName(const char* path)
{
    CString extension = GetFileExt(path);
    return extension.CompareNoCase(kLibExtension) == 0 && GetFileNameExt(path).GetLength() > extension.GetLength();
}

CString StripTrailingBackslash(const char* folder)
{
    CString text(folder);
    if (EndsWithBackslash(text))
        text = text.Left(text.GetLength() - 1);
    return text;
}
