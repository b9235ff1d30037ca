// The product's texts: home page, support mail, caption, help file, name and
// version, read by the About box, the help command, the window titles and
// the update check.
#pragma once
#include "platform/classlib/cstring.h"

class CProductInfo {
public:
    CProductInfo(const char* homePage, const char* homePageText, const char* mailLink,
                 const char* mailAddress, const char* title, const char* caption, const char* helpFileName,
                 const char* displayName, const char* version);
    ~CProductInfo();
    CProductInfo(const CProductInfo&) = delete;
    CProductInfo& operator=(const CProductInfo&) = delete;

    // The home page's web address, and the same without its scheme.
    CString GetHomePage() const { return m_homePage; }
    CString GetHomePageText() const { return m_homePageText; }
    // The support address as a "mailto:" link, and as shown.
    CString GetMailLink() const { return m_mailLink; }
    CString GetMailAddress() const { return m_mailAddress; }
    // The caption of the About box and of the frames.
    CString GetCaption() const { return m_caption; }
    // The help file's name, in the program's folder.
    CString GetHelpFileName() const { return m_helpFileName; }
    CString GetDisplayName() const { return m_displayName; }
    // The version text the update check sends.
    CString GetVersion() const { return m_version; }

private:
    CString m_homePage;
    CString m_homePageText;
    CString m_mailLink;
    CString m_mailAddress;
    // An older copy of the caption that nothing reads.
    CString m_title;
    CString m_caption;
    CString m_helpFileName;
    CString m_displayName;
    CString m_version;
};

extern CProductInfo ProductInfo;
