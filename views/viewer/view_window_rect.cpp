#include "views/viewer/view_window_rect.h"

#include "core/registry_root.h"
#include "platform/classlib/regkey.h"

namespace {

const char kKeyPath[] = HARBECK_REGISTRY_ROOT "ViewWindow";
const RECT kDefaultRect = {0, 0, 808, 608};

// The REG_DWORD as a signed coordinate, or the default.
LONG ReadCoordinate(CRegKey& key, const char* name, LONG fallback)
{
    DWORD value = 0;
    if (key.QueryDWORDValue(name, value) != ERROR_SUCCESS)
        return fallback;
    return (LONG)value;
}

}  // namespace

bool IsUsableWindowRect(const RECT& rect)
{
    if (rect.right <= rect.left || rect.bottom <= rect.top)
        return false;
    return MonitorFromRect(&rect, MONITOR_DEFAULTTONULL) != NULL;
}

bool LoadViewWindowRect(RECT& rect)
{
    CRegKey key;
    LONG status = key.Open(HKEY_CURRENT_USER, kKeyPath, KEY_READ | KEY_WRITE);
    if (status == ERROR_FILE_NOT_FOUND) {
        rect = kDefaultRect;
        return true;
    }
    if (status != ERROR_SUCCESS)
        return false;
    RECT stored;
    stored.left = ReadCoordinate(key, "Left", kDefaultRect.left);
    stored.top = ReadCoordinate(key, "Top", kDefaultRect.top);
    stored.right = ReadCoordinate(key, "Right", kDefaultRect.right);
    stored.bottom = ReadCoordinate(key, "Bottom", kDefaultRect.bottom);
    rect = IsUsableWindowRect(stored) ? stored : kDefaultRect;
    return true;
}

void StoreViewWindowRect(const RECT& rect)
{
    if (!IsUsableWindowRect(rect))
        return;
    CRegKey key;
    if (key.Create(HKEY_CURRENT_USER, kKeyPath) != ERROR_SUCCESS)
        return;
    key.SetDWORDValue("Left", (DWORD)rect.left);
    key.SetDWORDValue("Top", (DWORD)rect.top);
    key.SetDWORDValue("Right", (DWORD)rect.right);
    key.SetDWORDValue("Bottom", (DWORD)rect.bottom);
}
