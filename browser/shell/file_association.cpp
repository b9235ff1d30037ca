#include "browser/shell/file_association.h"

#include <stdio.h>

#include "core/registry_values.h"
#include "platform/classlib/regkey.h"

namespace {

// Values read back are at most this long, terminator included.
const DWORD kValueBytes = 512;
const char kOpenCommandKey[] = "shell\\open\\command";
// Under the product key: one value per extension holding the ProgID that
// was there before the program registered itself.
const char kSetAsideKey[] = "FileTypes";

void EnsureLeadingDot(CString& extension)
{
    if (!extension.IsEmpty() && extension[0] != '.')
        extension = CString(".") + extension;
}

bool ReadText(CRegKey& key, LPCSTR name, CString& text)
{
    char buffer[kValueBytes] = {};
    DWORD bytes = sizeof(buffer);
    if (key.QueryValue(buffer, name, &bytes) != ERROR_SUCCESS)
        return false;
    text = buffer;
    return true;
}

bool WriteText(HKEY parent, LPCSTR keyName, LPCSTR name, LPCSTR text)
{
    CRegKey key;
    return key.Create(parent, keyName) == ERROR_SUCCESS && key.SetStringValue(name, text) == ERROR_SUCCESS;
}

CString OpenCommandOf(LPCSTR command)
{
    CString wrapped(command);
    if (wrapped.Find("%1") >= 0)
        return wrapped;
    return CString("\"") + command + "\" \"%1\"";
}

// Keeps another program's ProgID of the extension for UnregisterFileType.
void SetAsidePreviousProgId(const CString& extension, LPCSTR newProgId)
{
    CRegKey extensionKey;
    CString previous;
    if (extensionKey.Open(HKEY_CLASSES_ROOT, extension, KEY_READ) != ERROR_SUCCESS ||
        !ReadText(extensionKey, nullptr, previous) || previous.IsEmpty() || previous.CompareNoCase(newProgId) == 0)
        return;
    CRegKey setAside;
    if (CreateProductKey(setAside, kSetAsideKey))
        setAside.SetStringValue(extension, previous);
}

}  // namespace

bool CommandNamesProgram(const CString& command, LPCSTR programPath)
{
    int length = lstrlenA(programPath);
    return length > 0 && command.GetLength() > length &&
           command.Mid(1, length).CompareNoCase(programPath) == 0;
}

bool RegisterFileType(CString& extension, LPCSTR progId, LPCSTR description, LPCSTR contentType,
                      LPCSTR command, short iconIndex)
{
    EnsureLeadingDot(extension);
    if (extension.IsEmpty())
        return false;
    SetAsidePreviousProgId(extension, progId);
    {
        CRegKey extensionKey;
        if (extensionKey.Create(HKEY_CLASSES_ROOT, extension) != ERROR_SUCCESS)
            return false;
        extensionKey.SetStringValue(nullptr, progId);
        if (contentType && contentType[0])
            extensionKey.SetStringValue("Content Type", contentType);
    }
    if (iconIndex >= 0) {
        char iconSource[MAX_PATH + 16];
        snprintf(iconSource, sizeof(iconSource), "%s,%d", command, (int)iconIndex);
        if (!WriteText(HKEY_CLASSES_ROOT, CString(progId) + "\\DefaultIcon", nullptr, iconSource))
            return false;
    }
    CRegKey progIdKey;
    if (progIdKey.Create(HKEY_CLASSES_ROOT, progId) != ERROR_SUCCESS)
        return false;
    progIdKey.SetStringValue(nullptr, description);
    if (command && command[0])
        return WriteText(progIdKey, kOpenCommandKey, nullptr, OpenCommandOf(command));
    return true;
}

CString QueryFileType(CString& extension, CString& progId, CString& description, CString& contentType)
{
    EnsureLeadingDot(extension);
    CRegKey extensionKey;
    if (extension.IsEmpty() || extensionKey.Open(HKEY_CLASSES_ROOT, extension) != ERROR_SUCCESS)
        return CString();
    CString foundProgId;
    if (ReadText(extensionKey, nullptr, foundProgId) && !foundProgId.IsEmpty())
        progId = foundProgId;
    ReadText(extensionKey, "Content Type", contentType);
    CRegKey progIdKey;
    if (progId.IsEmpty() || progIdKey.Open(HKEY_CLASSES_ROOT, progId) != ERROR_SUCCESS)
        return CString();
    ReadText(progIdKey, nullptr, description);
    CRegKey commandKey;
    CString command;
    if (commandKey.Open(progIdKey, kOpenCommandKey) != ERROR_SUCCESS || !ReadText(commandKey, nullptr, command))
        return CString();
    return command;
}

bool UnregisterFileType(CString& extension, LPCSTR programPath)
{
    CString progId, description, contentType;
    CString command = QueryFileType(extension, progId, description, contentType);
    if (progId.IsEmpty() || !CommandNamesProgram(command, programPath))
        return false;
    CString previous;
    CRegKey setAside;
    bool restore = OpenProductKey(setAside, kSetAsideKey) && ReadText(setAside, extension, previous) &&
                   !previous.IsEmpty();
    bool extensionDone;
    if (restore) {
        CRegKey extensionKey;
        extensionDone = extensionKey.Open(HKEY_CLASSES_ROOT, extension) == ERROR_SUCCESS &&
                        extensionKey.SetStringValue(nullptr, previous) == ERROR_SUCCESS;
        if (extensionDone)
            setAside.DeleteValue(extension);
    } else {
        CRegKey classes(HKEY_CLASSES_ROOT);
        extensionDone = classes.RecurseDeleteKey(extension) == ERROR_SUCCESS;
        classes.Detach();
    }
    if (!extensionDone)
        return false;
    CRegKey classes(HKEY_CLASSES_ROOT);
    bool progIdDone = classes.RecurseDeleteKey(progId) == ERROR_SUCCESS;
    classes.Detach();
    return progIdDone;
}
