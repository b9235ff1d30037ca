#include "toolkit/dragdrop/shell_shortcuts.h"

#include <shlobj.h>

namespace {

// Enough numbered names for any folder a user works in; past it the
// shortcut is not made.
const int kMaxNameNumber = 1000;
const char kLinkExtension[] = ".lnk";

// The text in UTF-16, NUL-terminated.
std::vector<WCHAR> Wide(LPCSTR text)
{
    int length = ::MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    std::vector<WCHAR> wide(length > 0 ? length : 1, 0);
    if (length > 0)
        ::MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), length);
    return wide;
}

CString FolderOf(const CString& path)
{
    int slash = path.ReverseFind('\\');
    return slash < 0 ? path : path.Left(slash);
}

// The path of a new shortcut to the target in the folder as the shell
// names it, without its ".lnk"; the target's own name there when the shell
// gives none.
CString ShellLinkStem(const CString& target, const CString& folder)
{
    char proposed[MAX_PATH] = {0};
    BOOL mustCopy = FALSE;
    CString name;
    if (::SHGetNewLinkInfoA(target, folder, proposed, &mustCopy, SHGNLI_PREFIXNAME))
        name = proposed;
    if (name.IsEmpty())
        name = target.Mid(target.ReverseFind('\\') + 1);
    if (name.Find('\\') < 0)
        name = folder + name;
    int extension = name.GetLength() - (int)(sizeof(kLinkExtension) - 1);
    if (extension > 0 && name.Mid(extension).CompareNoCase(kLinkExtension) == 0)
        name = name.Left(extension);
    return name;
}

// Creates an empty file under the first free name, so that no other
// writer can take it before the shortcut is saved there; empty when none
// is free.
CString ReserveFreeName(const CString& stem)
{
    for (int number = 1; number <= kMaxNameNumber; ++number) {
        CString path = stem;
        if (number > 1)
            path.AppendFormat(" (%d)", number);
        path += kLinkExtension;
        HANDLE file = ::CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            ::CloseHandle(file);
            return path;
        }
        DWORD error = ::GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS)
            break;
    }
    return CString();
}

bool SaveShortcut(const CString& target, const CString& path)
{
    IShellLinkW* link = nullptr;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, (void**)&link)))
        return false;
    IPersistFile* file = nullptr;
    bool saved = SUCCEEDED(link->SetPath(Wide(target).data())) &&
                 SUCCEEDED(link->SetWorkingDirectory(Wide(FolderOf(target)).data())) &&
                 SUCCEEDED(link->QueryInterface(IID_IPersistFile, (void**)&file)) &&
                 SUCCEEDED(file->Save(Wide(path).data(), TRUE));
    if (file)
        file->Release();
    link->Release();
    return saved;
}

bool MakeShortcut(const CString& target, const CString& folder)
{
    CString path = ReserveFreeName(ShellLinkStem(target, folder));
    if (path.IsEmpty())
        return false;
    if (SaveShortcut(target, path))
        return true;
    ::DeleteFileA(path);
    return false;
}

}  // namespace

bool MakeShortcuts(const std::vector<CString>& targets, const CString& folder)
{
    bool all = !targets.empty();
    for (const CString& target : targets)
        all = MakeShortcut(target, folder) && all;
    return all;
}
