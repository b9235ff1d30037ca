#include "platform/classlib/recentfiles.h"
#include "platform/classlib/winapp.h"

CRecentFileList::CRecentFileList(LPCSTR section, LPCSTR entryFormat, int size)
    : m_names(size > 0 ? size : 0), m_section(section), m_entryFormat(entryFormat)
{
}

void CRecentFileList::Add(LPCSTR path)
{
    if (!path || !*path || m_names.empty())
        return;
    char fullPath[MAX_PATH];
    DWORD length = ::GetFullPathNameA(path, MAX_PATH, fullPath, nullptr);
    CString name = (length > 0 && length < MAX_PATH) ? CString(fullPath) : CString(path);
    size_t place = m_names.size() - 1;
    for (size_t i = 0; i < m_names.size(); ++i) {
        if (!m_names[i].IsEmpty() && m_names[i].CompareNoCase(name) == 0) {
            place = i;
            break;
        }
    }
    for (size_t i = place; i > 0; --i)
        m_names[i] = m_names[i - 1];
    m_names[0] = name;
}

void CRecentFileList::Remove(int index)
{
    if (index < 0 || index >= GetSize())
        return;
    m_names.erase(m_names.begin() + index);
    m_names.push_back(CString());
}

static CString EntryName(const CString& format, int number)
{
    char entry[64];
    wsprintfA(entry, format, number);
    return CString(entry);
}

void CRecentFileList::ReadList()
{
    CWinApp* app = AfxGetApp();
    if (!app)
        return;
    for (int i = 0; i < GetSize(); ++i)
        m_names[i] = app->GetProfileString(m_section, EntryName(m_entryFormat, i + 1), "");
}

void CRecentFileList::WriteList()
{
    CWinApp* app = AfxGetApp();
    if (!app)
        return;
    app->WriteProfileString(m_section, nullptr, nullptr);
    for (int i = 0; i < GetSize(); ++i) {
        if (!m_names[i].IsEmpty())
            app->WriteProfileString(m_section, EntryName(m_entryFormat, i + 1), m_names[i]);
    }
}
