// CExifDlg: the EXIF information of a JPEG photo (camera, date, size,
// exposure, lens, coding) as a two-column list. The caller sets the path,
// reads the EXIF block with ReadExifInfo and runs the dialog only when one
// was found.
#pragma once
// The class library first: it takes back the min and max macros of
// <windows.h>, which the standard headers cannot stand.
#include "platform/classlib/classlib.h"

#include <utility>
#include <vector>

#include "codecs/ximajpg.h"

// The rows the viewer shows for an EXIF record, in order (label, value).
typedef std::vector<std::pair<CString, CString>> ExifRows;
ExifRows MakeExifRows(const CxExifRecord& record);

class CExifDlg : public CDialog {
public:
    explicit CExifDlg(CWnd* parent = nullptr);

    // False when the file cannot be opened or holds no readable EXIF block.
    bool ReadExifInfo();

    CxImageJPG m_jpeg;
    CString m_path;
    CListCtrl m_list;

protected:
    void DoDataExchange(CDataExchange* exchange) override;
    BOOL OnInitDialog() override;
};

// The Exif dialog of a JPEG file, shown modally over the parent; false,
// with nothing shown, when the file holds no readable EXIF block.
bool ShowExifDialog(CWnd* parent, const char* path);
