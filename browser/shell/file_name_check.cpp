#include "browser/shell/file_name_check.h"

#include <string.h>

#include "resources/browser_ids.h"

namespace {

// Device names the file system keeps for itself, also with an extension.
const char* const kReservedNames[] = {"CON", "PRN", "AUX", "NUL", "COM1", "COM2", "COM3", "COM4", "COM5",
                                      "COM6", "COM7", "COM8", "COM9", "LPT1", "LPT2", "LPT3", "LPT4", "LPT5",
                                      "LPT6", "LPT7", "LPT8", "LPT9"};

bool IsReservedName(LPCSTR name)
{
    CString base(name);
    int dot = base.Find('.');
    if (dot >= 0)
        base = base.Left(dot);
    base.TrimRight(' ');
    for (const char* reserved : kReservedNames)
        if (base.CompareNoCase(reserved) == 0)
            return true;
    return false;
}

}  // namespace

// The text is scanned by characters of the ANSI code page, so that the
// second byte of a double-byte character is never taken for a separator.
bool IsAcceptableFileName(LPCSTR name, UINT& messageId)
{
    CString trimmed(name ? name : "");
    trimmed.TrimLeft(' ');
    trimmed.TrimRight(' ');
    if (trimmed.IsEmpty()) {
        messageId = IDS_RENAME_EMPTY;
        return false;
    }
    for (LPCSTR p = name; *p; p = CharNextExA(CP_ACP, p, 0)) {
        if (IsDBCSLeadByteEx(CP_ACP, (BYTE)*p) && p[1])
            continue;
        unsigned char c = (unsigned char)*p;
        if (c == '\\' || c == '/') {
            messageId = IDS_RENAME_SEPARATOR;
            return false;
        }
        if (c < 32 || strchr(":*?\"<>|", c)) {
            messageId = IDS_RENAME_BAD_CHARACTER;
            return false;
        }
    }
    // Trailing dots and blanks are dropped by the file system: a name of
    // dots alone would name this folder or its parent.
    CString significant = trimmed;
    significant.TrimRight(". ");
    if (significant.IsEmpty()) {
        messageId = IDS_RENAME_DOTS;
        return false;
    }
    if (lstrlenA(name) > 255) {
        messageId = IDS_RENAME_TOO_LONG;
        return false;
    }
    if (IsReservedName(trimmed)) {
        messageId = IDS_RENAME_RESERVED;
        return false;
    }
    return true;
}
