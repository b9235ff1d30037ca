#include "browser/dialogs/file_info_basic.h"

#include <shellapi.h>

#include "core/file_utils.h"
#include "core/locale_info.h"
#include "core/size_text.h"
#include "resources/resource.h"

IMPLEMENT_DYNCREATE(CFileInfoBasic, CPropertyPage)

namespace {

CString GroupThousands(uint64_t value)
{
    CString digits;
    digits.Format("%llu", (unsigned long long)value);
    CString grouped;
    int length = digits.GetLength();
    for (int i = 0; i < length; ++i) {
        if (i > 0 && (length - i) % 3 == 0)
            grouped += ',';
        grouped += digits[i];
    }
    return grouped;
}

}  // namespace

CFileInfoBasic::CFileInfoBasic(const char* path, const DRAWINGINFO* drawingInfo)
    : CFileInfoPage(IDD_FILE_INFO_BASIC, path, drawingInfo)
{
}

CFileInfoBasic::~CFileInfoBasic()
{
    if (m_icon != nullptr)
        DestroyIcon(m_icon);
}

CString CFileInfoBasic::FormatSizeLine(int64_t size)
{
    CString text;
    FormatFileSize(size, text);
    return text + " (" + GroupThousands((uint64_t)size) + " Bytes)";
}

void CFileInfoBasic::ReadFileSystemEntry()
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(m_path, &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    m_dosName = found.cAlternateFileName[0] != '\0' ? found.cAlternateFileName : found.cFileName;
    m_size = FormatSizeLine((int64_t)(((uint64_t)found.nFileSizeHigh << 32) | found.nFileSizeLow));
    m_readOnly = (found.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0;
    m_hidden = (found.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) != 0;
    m_system = (found.dwFileAttributes & FILE_ATTRIBUTE_SYSTEM) != 0;
    m_archive = (found.dwFileAttributes & FILE_ATTRIBUTE_ARCHIVE) != 0;
    const CLocaleInfo& locale = CLocaleInfo::Instance();
    m_created = locale.FormatFileTime(found.ftCreationTime);
    m_modified = locale.FormatFileTime(found.ftLastWriteTime);
    m_accessed = locale.FormatFileTime(found.ftLastAccessTime);
    FindClose(search);
}

BOOL CFileInfoBasic::OnInitDialog()
{
    m_name = GetFileNameExt(m_path);
    m_location = GetFileDir(m_path);
    SHFILEINFOA shellInfo = {};
    if (!m_path.IsEmpty() &&
        SHGetFileInfoA(m_path, 0, &shellInfo, sizeof(shellInfo), SHGFI_ICON | SHGFI_TYPENAME) != 0) {
        m_type = shellInfo.szTypeName;
        m_icon = shellInfo.hIcon;
    }
    if (!m_path.IsEmpty())
        ReadFileSystemEntry();
    CFileInfoPage::OnInitDialog();
    if (m_icon != nullptr)
        SendDlgItemMessage(IDC_BASIC_ICON, STM_SETICON, (WPARAM)m_icon, 0);
    return TRUE;
}

void CFileInfoBasic::DoDataExchange(CDataExchange* exchange)
{
    CFileInfoPage::DoDataExchange(exchange);
    DDX_Text(exchange, IDC_BASIC_NAME, m_name);
    DDX_Text(exchange, IDC_BASIC_TYPE, m_type);
    DDX_Text(exchange, IDC_BASIC_LOCATION, m_location);
    DDX_Text(exchange, IDC_BASIC_SIZE, m_size);
    DDX_Text(exchange, IDC_BASIC_DOS_NAME, m_dosName);
    DDX_Text(exchange, IDC_BASIC_CREATED, m_created);
    DDX_Text(exchange, IDC_BASIC_MODIFIED, m_modified);
    DDX_Text(exchange, IDC_BASIC_ACCESSED, m_accessed);
    DDX_Check(exchange, IDC_BASIC_READ_ONLY, m_readOnly);
    DDX_Check(exchange, IDC_BASIC_HIDDEN, m_hidden);
    DDX_Check(exchange, IDC_BASIC_ARCHIVE, m_archive);
    DDX_Check(exchange, IDC_BASIC_SYSTEM, m_system);
}
