#include "browser/shell/shell_statics.h"

#include "core/global_objects.h"

namespace {

IShellFolder* BindSendToFolder(IShellFolder* desktop)
{
    LPITEMIDLIST sendToList = nullptr;
    if (!desktop || FAILED(::SHGetSpecialFolderLocation(nullptr, CSIDL_SENDTO, &sendToList)) || !sendToList)
        return nullptr;
    IShellFolder* sendTo = nullptr;
    if (FAILED(desktop->BindToObject(sendToList, nullptr, IID_IShellFolder, (void**)&sendTo)))
        sendTo = nullptr;
    ::CoTaskMemFree(sendToList);
    return sendTo;
}

HIMAGELIST SmallSystemImages()
{
    SHFILEINFOA info = {};
    return (HIMAGELIST)::SHGetFileInfoA("C:\\", 0, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
}

struct CShellStaticsHolder {
    CShellStatics statics;
    bool made = false;
};

CShellStaticsHolder g_shellStatics __attribute__((init_priority(kGlobalRankBrowserShell)));

}  // namespace

const CShellStatics& ShellStatics()
{
    if (!g_shellStatics.made) {
        g_shellStatics.made = true;
        CShellStatics& statics = g_shellStatics.statics;
        if (FAILED(::SHGetDesktopFolder(&statics.desktop)))
            statics.desktop = nullptr;
        statics.sendTo = BindSendToFolder(statics.desktop);
        statics.smallImages = SmallSystemImages();
        if (FAILED(::SHGetMalloc(&statics.allocator)))
            statics.allocator = nullptr;
    }
    return g_shellStatics.statics;
}
