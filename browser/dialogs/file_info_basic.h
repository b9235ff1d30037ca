// CFileInfoBasic: what the file system says of the file: icon, name, type,
// folder, size, short name, times and attributes.
#pragma once
#include <stdint.h>

#include "browser/dialogs/file_info_page.h"

class CFileInfoBasic : public CFileInfoPage {
    DECLARE_DYNCREATE(CFileInfoBasic)
public:
    CFileInfoBasic(const char* path = "", const DRAWINGINFO* drawingInfo = nullptr);
    ~CFileInfoBasic() override;

    // The size text of the file lists, then the byte count with its
    // thousands parted by ',': "1.18 MB (1,234,567 Bytes)".
    static CString FormatSizeLine(int64_t size);

    CString m_name;
    CString m_type;
    CString m_location;
    CString m_size;
    CString m_dosName;
    CString m_created;
    CString m_modified;
    CString m_accessed;
    int m_readOnly = 0;
    int m_hidden = 0;
    int m_archive = 0;
    int m_system = 0;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* exchange) override;

private:
    void ReadFileSystemEntry();

    HICON m_icon = nullptr;
};
