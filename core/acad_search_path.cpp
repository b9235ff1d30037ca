#include "core/acad_search_path.h"

#include <windows.h>

#include "core/registry_values.h"

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
    explicit KeyPath(HKEY root) : m_root(root), m_depth(0) {}

    bool Open(const char* name)
    {
        if (m_depth == kMaxDepth || !name || !*name)
            return false;
        HKEY parent = m_depth > 0 ? (HKEY)m_keys[m_depth - 1] : m_root;
        if (m_keys[m_depth].Open(parent, name, KEY_READ) != ERROR_SUCCESS)
            return false;
        ++m_depth;
        return true;
    }

    // Opens the subkey named by the text value valueName of the last key.
    bool OpenNamedBy(const char* valueName)
    {
        CString name;
        return ReadText(valueName, name) && Open(name);
    }

    // A text value of the last key opened.
    bool ReadText(const char* valueName, CString& text)
    {
        return m_depth > 0 && ReadRegistryString(m_keys[m_depth - 1], valueName, kBufferSize, text);
    }

private:
    static const int kMaxDepth = 8;
    HKEY m_root;
    CRegKey m_keys[kMaxDepth];
    int m_depth;
};

bool ReadSearchPath(KeyPath& keys, CString& path)
{
    return keys.ReadText(kSearchPathValue, path);
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
