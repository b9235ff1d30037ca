#include "core/folder_dialog.h"

#include "core/file_utils.h"

int CALLBACK BrowseFolderCallback(HWND window, UINT message, LPARAM item, LPARAM data)
{
    if (message == BFFM_INITIALIZED) {
        const char* start = (const char*)data;
        if (start && *start) {
            SendMessageA(window, BFFM_SETSELECTIONA, TRUE, (LPARAM)start);
            SendMessageA(window, BFFM_SETSTATUSTEXTA, 0, (LPARAM)start);
        }
    } else if (message == BFFM_SELCHANGED) {
        char path[MAX_PATH] = {};
        if (SHGetPathFromIDListA((LPCITEMIDLIST)item, path))
            SendMessageA(window, BFFM_SETSTATUSTEXTA, 0, (LPARAM)path);
    }
    return 0;
}

bool BrowseForFolder(HWND owner, const char* title, CString& path)
{
    if (!DirectoryExists(path))
        path.Empty();
    IMalloc* allocator = nullptr;
    if (FAILED(SHGetMalloc(&allocator)) || !allocator)
        return false;
    char* displayName = (char*)allocator->Alloc(MAX_PATH);
    if (!displayName) {
        allocator->Release();
        return false;
    }
    BROWSEINFOA info = {};
    info.hwndOwner = owner;
    info.pszDisplayName = displayName;
    info.lpszTitle = title;
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_STATUSTEXT;
    info.lpfn = BrowseFolderCallback;
    info.lParam = (LPARAM)(const char*)path;

    UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS);
    LPITEMIDLIST chosen = SHBrowseForFolderA(&info);
    SetErrorMode(oldMode);

    bool done = false;
    if (chosen) {
        char folder[MAX_PATH] = {};
        if (SHGetPathFromIDListA(chosen, folder)) {
            path = folder;
            done = true;
        }
        allocator->Free(chosen);
    }
    allocator->Free(displayName);
    allocator->Release();
    return done;
}
