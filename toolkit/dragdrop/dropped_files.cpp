#include "toolkit/dragdrop/dropped_files.h"

#include <shellapi.h>
#include <shlobj.h>
#include <stdint.h>
#include <string.h>

#include <string>

#include "platform/base/byte_reader.h"
#include "platform/classlib/ole_data_object.h"

namespace {

const uint32_t kFileListOffset = 20;
const char kPreferredDropEffect[] = "Preferred DropEffect";

// The paths, each followed by NUL, and one more NUL.
std::string DoubleNulList(const std::vector<CString>& paths)
{
    std::string list;
    for (const CString& path : paths) {
        list.append(path, path.GetLength());
        list.push_back('\0');
    }
    list.push_back('\0');
    return list;
}

LPCSTR NameOf(const CString& path)
{
    int slash = path.ReverseFind('\\');
    return (LPCSTR)path + slash + 1;
}

// A block for the clipboard or a drag holding the bytes; null when it
// cannot be made.
HGLOBAL SharedBlock(const std::string& bytes)
{
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT | GMEM_SHARE, bytes.size());
    void* memory = block ? ::GlobalLock(block) : nullptr;
    if (!memory) {
        if (block)
            ::GlobalFree(block);
        return nullptr;
    }
    memcpy(memory, bytes.data(), bytes.size());
    ::GlobalUnlock(block);
    return block;
}

HGLOBAL DropEffectBlock(DWORD effect)
{
    BYTE word[4];
    PutU32LE(word, effect);
    return SharedBlock(std::string((const char*)word, sizeof(word)));
}

}  // namespace

HGLOBAL BuildDroppedFileBlock(const std::vector<CString>& paths)
{
    // Header: the list's offset, the drop point (0, 0), not in the
    // non-client area, 8-bit texts.
    BYTE header[kFileListOffset];
    PutU32LE(header, kFileListOffset);
    PutU32LE(header + 4, 0);
    PutU32LE(header + 8, 0);
    PutU32LE(header + 12, 0);
    PutU32LE(header + 16, 0);
    return SharedBlock(std::string((const char*)header, sizeof(header)) + DoubleNulList(paths));
}

std::vector<CString> ReadDroppedFiles(HDROP drop)
{
    std::vector<CString> names;
    UINT count = ::DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT index = 0; index < count; ++index) {
        char name[MAX_PATH];
        if (::DragQueryFileA(drop, index, name, MAX_PATH) > 0)
            names.push_back(CString(name));
    }
    return names;
}

DWORD GetPreferredDropEffect()
{
    COleDataObject clipboard;
    if (!clipboard.AttachClipboard())
        return 0;
    DWORD effect = 0;
    clipboard.BeginEnumFormats();
    FORMATETC format;
    while (clipboard.GetNextFormat(&format)) {
        if (!clipboard.IsDataAvailable(format.cfFormat))
            continue;
        char name[256];
        if (::GetClipboardFormatNameA(format.cfFormat, name, sizeof(name)) <= 0 ||
            lstrcmpiA(name, kPreferredDropEffect) != 0)
            continue;
        HGLOBAL data = clipboard.GetGlobalData(format.cfFormat);
        const BYTE* bytes = data && ::GlobalSize(data) >= sizeof(uint32_t) ? (const BYTE*)::GlobalLock(data) : nullptr;
        if (bytes) {
            effect = GetU32LE(bytes);
            ::GlobalUnlock(data);
        }
        if (data)
            ::GlobalFree(data);
    }
    return effect;
}

bool PutFilesOnClipboard(HWND owner, const std::vector<CString>& paths, DWORD effect)
{
    HGLOBAL files = BuildDroppedFileBlock(paths);
    HGLOBAL effectBlock = effect ? DropEffectBlock(effect) : nullptr;
    bool done = files && (!effect || effectBlock) && ::OpenClipboard(owner);
    if (done) {
        ::EmptyClipboard();
        done = ::SetClipboardData(CF_HDROP, files) != nullptr;
        if (done)
            files = nullptr;
        if (done && effectBlock) {
            UINT format = ::RegisterClipboardFormatA(kPreferredDropEffect);
            done = ::SetClipboardData(format, effectBlock) != nullptr;
            if (done)
                effectBlock = nullptr;
        }
        ::CloseClipboard();
    }
    if (files)
        ::GlobalFree(files);
    if (effectBlock)
        ::GlobalFree(effectBlock);
    return done;
}

bool ReadClipboardFiles(HWND owner, std::vector<CString>& paths)
{
    if (!::OpenClipboard(owner))
        return false;
    HDROP drop = (HDROP)::GetClipboardData(CF_HDROP);
    if (drop)
        paths = ReadDroppedFiles(drop);
    ::CloseClipboard();
    return drop != nullptr;
}

namespace {

// Whether the source may go into the folder (which ends with "\\"): not a
// drive root, which has no name to go under; not a file that is in the
// folder already, which the shell would copy onto itself; not a folder
// dropped into itself or into a folder inside it.
bool CanTransferInto(const CString& source, const CString& folder)
{
    if (*NameOf(source) == '\0')
        return false;
    CString sourceFolder = source + "\\";
    if (folder.GetLength() >= sourceFolder.GetLength() &&
        folder.Left(sourceFolder.GetLength()).CompareNoCase(sourceFolder) == 0)
        return false;
    return (folder + NameOf(source)).CompareNoCase(source) != 0;
}

}  // namespace

bool TransferFiles(HWND owner, const std::vector<CString>& sources, const CString& folder, DWORD effect)
{
    CString target = folder;
    if (target.IsEmpty() || target[target.GetLength() - 1] != '\\')
        target += "\\";
    std::vector<CString> kept;
    std::vector<CString> destinations;
    for (const CString& source : sources) {
        if (CanTransferInto(source, target)) {
            kept.push_back(source);
            destinations.push_back(target + NameOf(source));
        }
    }
    if (kept.empty())
        return false;
    std::string from = DoubleNulList(kept);
    std::string to = DoubleNulList(destinations);
    SHFILEOPSTRUCTA operation = {};
    operation.hwnd = owner;
    operation.wFunc = effect == DROPEFFECT_MOVE ? FO_MOVE : FO_COPY;
    operation.pFrom = from.c_str();
    operation.pTo = to.c_str();
    operation.fFlags = FOF_MULTIDESTFILES;
    return ::SHFileOperationA(&operation) == 0 && !operation.fAnyOperationsAborted;
}
