#include "app/core/acad_search_path.h"

#include <windows.h>

#include "app/core/registry_values.h"

namespace {

const char kAutoCadKey[] = "SoftWare\\Autodesk\\AutoCAD";
const char kCurrentVersionValue[] = "Curver";
const char kProfilesKey[] = "Profiles";
const char kGeneralKey[] = "General";
const char kSearchPathValue[] = "ACAD";
const DWORD kBufferSize = 1024;

// A path of read-only keys opened one below the other, all closed at the
// end.
class KeyPath
{
public:
    explicit KeyPath(HKEY root) : m_root(root), m_keys(), m_depth(0) {}
    ~KeyPath()
    {
        while (m_depth > 0)
            RegCloseKey(m_keys[--m_depth]);
    }
    KeyPath(const KeyPath&) = delete;
    KeyPath& operator=(const KeyPath&) = delete;

    HKEY Last() const { return m_depth > 0 ? m_keys[m_depth - 1] : m_root; }

    bool Open(const char* name)
    {
        HKEY key = nullptr;
        if (m_depth == kMaxDepth || !name || !*name ||
            RegOpenKeyExA(Last(), name, 0, KEY_READ, &key) != ERROR_SUCCESS)
            return false;
        m_keys[m_depth++] = key;
        return true;
    }

    // Opens the subkey named by the text value valueName of the last key.
    bool OpenNamedBy(const char* valueName)
    {
        CString name;
        return ReadRegistryString(Last(), valueName, kBufferSize, name) && Open(name);
    }

private:
    static const int kMaxDepth = 8;
    HKEY m_root;
    HKEY m_keys[kMaxDepth];
    int m_depth;
};

bool ReadSearchPath(const KeyPath& keys, CString& path)
{
    return ReadRegistryString(keys.Last(), kSearchPathValue, kBufferSize, path);
}

}  // namespace

bool FindAcadSearchPathMachine(CString& path)
{
    KeyPath keys(HKEY_LOCAL_MACHINE);
    return keys.Open(kAutoCadKey) && keys.OpenNamedBy(kCurrentVersionValue) &&
           keys.OpenNamedBy(kCurrentVersionValue) && ReadSearchPath(keys, path);
}

bool FindAcadSearchPathUser(CString& path)
{
    KeyPath keys(HKEY_CURRENT_USER);
    return keys.Open(kAutoCadKey) && keys.OpenNamedBy(kCurrentVersionValue) &&
           keys.OpenNamedBy(kCurrentVersionValue) && keys.Open(kProfilesKey) &&
           keys.OpenNamedBy(nullptr) && keys.Open(kGeneralKey) && ReadSearchPath(keys, path);
}

bool FindAcadSearchPath(CString& path)
{
    return FindAcadSearchPathMachine(path) || FindAcadSearchPathUser(path);
}
