#include "app/update_checker.h"

#include "app/client_id.h"
#include "app/download_buffer.h"
#include "app/http_download.h"
#include "app/update_service.h"
#include "app/version_text.h"
#include "core/product_info.h"
#include "core/registry_root.h"
#include "platform/classlib/exceptions.h"

namespace {

const char kClientKey[] = HARBECK_REGISTRY_ROOT "Client";
const char kClientValue[] = "Info";
// Room for 39 characters with the NUL.
const DWORD kClientIdRoom = 39;

const size_t kReplyGrowth = 4096;
// A reply larger than this is refused.
const size_t kLargestReply = 1024 * 1024;

bool IsUnreserved(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~';
}

// The text as one value of a URL's query: every byte but letters, digits
// and "-._~" as %XX, so that no value can add to or change the query.
CString EscapeQueryValue(const char* text)
{
    static const char kHexDigits[] = "0123456789ABCDEF";
    CString escaped;
    for (const unsigned char* p = (const unsigned char*)text; *p != '\0'; ++p) {
        if (IsUnreserved(*p)) {
            escaped += (char)*p;
            continue;
        }
        escaped += '%';
        escaped += kHexDigits[*p >> 4];
        escaped += kHexDigits[*p & 0x0F];
    }
    return escaped;
}

void CheckForUpdate(const CUpdateRequest& request)
{
    CDownloadBuffer buffer(kReplyGrowth, kLargestReply);
    if (HttpDownload(NULL, request.url, buffer) != DOWNLOAD_OK)
        return;
    CUpdateReply reply;
    if (!ReadUpdateReply(buffer.GetData(), reply))
        return;
    if (reply.level == 0 || !IsLaterVersion(reply.productVersion.c_str(), request.programVersion))
        return;
    request.replySlot->Put(reply);
    PostThreadMessageA(request.notifyThreadId, WM_UPDATE_AVAILABLE, 0, 0);
}

}  // namespace

void CUpdateReplySlot::Put(const CUpdateReply& reply)
{
    std::lock_guard<std::mutex> hold(m_lock);
    m_reply = reply;
    m_full = true;
}

bool CUpdateReplySlot::Take(CUpdateReply& reply)
{
    std::lock_guard<std::mutex> hold(m_lock);
    if (!m_full)
        return false;
    reply = m_reply;
    m_full = false;
    return true;
}

CUpdateChecker::CUpdateChecker()
    : m_downloadPage(CString(UpdateServiceHost()) + "download.php"),
      m_updateLevel(0),
      m_replySlot(std::make_shared<CUpdateReplySlot>())
{
}

CUpdateChecker::~CUpdateChecker()
{
}

bool CUpdateChecker::StartUpdateCheck()
{
    if (!ReadClientId()) {
        std::string id;
        if (!MakeClientId(id))
            return false;
        m_clientId = id.c_str();
        WriteClientId();
    }
    CUpdateRequest* request = NewRequest();
    HANDLE thread = CreateThread(NULL, 0, UpdateCheckThread, request, 0, NULL);
    if (thread == NULL) {
        delete request;
        return false;
    }
    CloseHandle(thread);
    return true;
}

bool CUpdateChecker::ReadClientId()
{
    HKEY key = NULL;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kClientKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    // One byte more than the room, so that the text is always terminated.
    char id[kClientIdRoom + 1] = {};
    DWORD size = kClientIdRoom;
    DWORD type = 0;
    LONG status = RegQueryValueExA(key, kClientValue, NULL, &type, (BYTE*)id, &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS || type != REG_SZ || id[0] == '\0')
        return false;
    m_clientId = id;
    return true;
}

bool CUpdateChecker::WriteClientId()
{
    HKEY key = NULL;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kClientKey, 0, NULL, REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE,
                        NULL, &key, NULL) != ERROR_SUCCESS)
        return false;
    LONG status = RegSetValueExA(key, kClientValue, 0, REG_SZ, (const BYTE*)(LPCSTR)m_clientId,
                                 m_clientId.GetLength() + 1);
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

CUpdateRequest* CUpdateChecker::NewRequest() const
{
    CString version = ProductInfo.GetVersion();
    CUpdateRequest* request = new CUpdateRequest;
    request->url = CString(UpdateServiceHost()) + "checkupdate.php?user=" + EscapeQueryValue(m_clientId) +
                   "&version=" + EscapeQueryValue(version);
    request->programVersion = version;
    request->notifyThreadId = GetCurrentThreadId();
    request->replySlot = m_replySlot;
    return request;
}

bool CUpdateChecker::TakeReply()
{
    CUpdateReply reply;
    if (!m_replySlot->Take(reply))
        return false;
    m_updateLevel = reply.level;
    m_productVersion = reply.productVersion.c_str();
    m_featureText = reply.featureText.c_str();
    return true;
}

DWORD WINAPI UpdateCheckThread(LPVOID parameter)
{
    CUpdateRequest* request = (CUpdateRequest*)parameter;
    try {
        CheckForUpdate(*request);
    } catch (CException* exception) {
        exception->Delete();
    } catch (...) {
    }
    delete request;
    return 0;
}
