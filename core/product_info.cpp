#include "core/product_info.h"

#include "core/global_objects.h"
#include "core/log_file.h"

namespace {

const char kCaption[] = "Harbeck | 免费DWG图纸管理(原Quorvantix)";

}  // namespace

CProductInfo ProductInfo __attribute__((init_priority(kGlobalRankProductInfo)))(
    "http://www.pellmoor.example/harbeck/", "www.pellmoor.example/harbeck", "mailto:support@pellmoor.example",
    "support@pellmoor.example", kCaption, kCaption, "harbeck.chm", "Harbeck", "1.0.0.0");

CProductInfo::CProductInfo(const char* homePage, const char* homePageText, const char* mailLink,
                           const char* mailAddress, const char* title, const char* caption,
                           const char* helpFileName, const char* displayName, const char* version)
    : m_homePage(homePage),
      m_homePageText(homePageText),
      m_mailLink(mailLink),
      m_mailAddress(mailAddress),
      m_title(title),
      m_caption(caption),
      m_helpFileName(helpFileName),
      m_displayName(displayName),
      m_version(version)
{
    WriteLog(NULL, "Construct ProductInfo");
}

CProductInfo::~CProductInfo()
{
    WriteLog(NULL, "Destroy ProductInfo");
}
