// The start-up check for a newer version of the program. A thread of its
// own asks the update service once; when the reply announces a later
// version it leaves the reply for the application's thread and posts
// WM_UPDATE_AVAILABLE there, whose handler shows the notice.
#pragma once
#include <windows.h>
#include <stdint.h>

#include <memory>
#include <mutex>

#include "app/update_reply.h"
#include "platform/classlib/cstring.h"

// Thread message to the application's thread: a reply waits in the checker.
const UINT WM_UPDATE_AVAILABLE = 0x9772;

// Hands one reply from the check thread to the application's thread. The
// checker and the thread share it, so that a thread still running when the
// checker is gone writes into no freed memory.
class CUpdateReplySlot {
public:
    void Put(const CUpdateReply& reply);
    // False when no reply waits; a reply is taken once.
    bool Take(CUpdateReply& reply);

private:
    std::mutex m_lock;
    bool m_full = false;
    CUpdateReply m_reply;
};

// What one check needs; the check thread owns it.
struct CUpdateRequest {
    CString url;
    CString programVersion;
    // The thread told of a later version.
    DWORD notifyThreadId;
    std::shared_ptr<CUpdateReplySlot> replySlot;
};

class CUpdateChecker {
public:
    CUpdateChecker();
    ~CUpdateChecker();
    CUpdateChecker(const CUpdateChecker&) = delete;
    CUpdateChecker& operator=(const CUpdateChecker&) = delete;

    // Reads the client id, or makes one and stores it, then starts the check
    // thread (not waited for). False when no id could be made or no thread
    // started.
    bool StartUpdateCheck();

    // "Info" under the product key's "Client": true when it holds an id.
    bool ReadClientId();
    // Stores the client id there; true when it was written.
    bool WriteClientId();

    // The request of a check from the calling thread, which is told of a
    // later version.
    CUpdateRequest* NewRequest() const;
    // Takes the reply the check thread left into the fields below; false
    // when none waits.
    bool TakeReply();

    CString GetClientId() const { return m_clientId; }
    CString GetDownloadPage() const { return m_downloadPage; }
    CString GetFeatureText() const { return m_featureText; }
    CString GetProductVersion() const { return m_productVersion; }
    int GetUpdateLevel() const { return m_updateLevel; }

private:
    CString m_clientId;
    CString m_downloadPage;
    CString m_featureText;
    CString m_productVersion;
    int32_t m_updateLevel;
    std::shared_ptr<CUpdateReplySlot> m_replySlot;
};

// The check thread: downloads the reply, reads it and, when it announces a
// later version than the program's and a level above 0, leaves it in the
// request's slot and posts WM_UPDATE_AVAILABLE. Every failure ends it
// silently. The argument is a CUpdateRequest made with new; the thread
// deletes it.
DWORD WINAPI UpdateCheckThread(LPVOID request);
