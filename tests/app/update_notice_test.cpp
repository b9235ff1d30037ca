// The update check as start-up runs it, against a server of the test's
// own: the client id in the registry, the request the service sees, and
// the notice the application shows for a later version.
#include "tests/support/gtest.h"

#include <string>

#include "app/update_checker.h"
#include "browser/frame/browse_frame.h"
#include "core/appsw.h"
#include "core/registry_root.h"
#include "resources/resource.h"
#include "tests/app/app_test_support.h"
#include "tests/app/http_test_server.h"
#include "tests/app/shell_open_recorder.h"
#include "tests/app/test_update_service.h"
#include "tests/support/dialog_script.h"

using namespace apptest;
using namespace testwin;

namespace {

const DWORD kWaitMs = 15000;

std::string StoredClientId()
{
    char value[64] = {};
    DWORD size = sizeof(value) - 1;
    RegGetValueA(HKEY_CURRENT_USER, HARBECK_REGISTRY_ROOT "Client", "Info", RRF_RT_REG_SZ, NULL, value,
                 &size);
    return value;
}

// Handles this thread's messages until the update notice arrives; false
// when it does not within the time.
bool WaitForUpdateNotice(MSG& notice)
{
    DWORD start = GetTickCount();
    while (GetTickCount() - start < kWaitMs) {
        while (PeekMessageA(&notice, NULL, 0, 0, PM_REMOVE)) {
            if (notice.hwnd == NULL && notice.message == WM_UPDATE_AVAILABLE)
                return true;
            TranslateMessage(&notice);
            DispatchMessageA(&notice);
        }
        MsgWaitForMultipleObjects(0, NULL, FALSE, 100, QS_ALLINPUT);
    }
    return false;
}

bool QuitWasPosted()
{
    MSG message;
    return PeekMessageA(&message, NULL, WM_QUIT, WM_QUIT, PM_REMOVE) != 0;
}

struct NoticeSeen {
    std::string caption;
    std::string version;
    std::string features;
    bool laterEnabled = false;
};

NoticeSeen ReadNotice(HWND dialog)
{
    NoticeSeen seen;
    seen.caption = WindowText(dialog);
    seen.version = GetText(dialog, IDC_UPDATE_VERSION);
    seen.features = GetText(dialog, IDC_UPDATE_FEATURES);
    seen.laterEnabled = IsWindowEnabled(GetDlgItem(dialog, IDCANCEL)) != 0;
    return seen;
}

class UpdateAtStartUp : public testing::Test {
protected:
    void SetUp() override
    {
        ClearProductKey();
        ASSERT_TRUE(m_server.IsListening());
        SetUpdateServiceAddress(m_server.Address());
    }
    void TearDown() override
    {
        SetUpdateServiceAddress(AddressWithoutServer());
        QuitWasPosted();
    }

    // Starts the application, waits for the notice, lets the application
    // show it and presses its download button; the download page must open.
    NoticeSeen ShowNoticeAndDownload(CQuorvantixApp& app)
    {
        NoticeSeen seen;
        MSG notice;
        EXPECT_TRUE(app.InitInstance());
        if (!WaitForUpdateNotice(notice)) {
            ADD_FAILURE() << "no update notice";
            return seen;
        }
        ShellOpenRecorder opened;
        DialogScript driver({[&](HWND dialog) {
            seen = ReadNotice(dialog);
            ClickControl(dialog, IDOK);
        }});
        EXPECT_TRUE(app.PreTranslateMessage(&notice));
        EXPECT_TRUE(driver.Finished());
        EXPECT_TRUE(opened.WaitForOpened(1, kWaitMs));
        EXPECT_EQ(std::vector<std::string>({m_server.Address() + "download.php"}), opened.Opened());
        return seen;
    }

    HttpTestServer m_server;
};

}  // namespace

TEST_F(UpdateAtStartUp, ClientIdIsMadeOnceAndTheServiceSeesThePathAndQuery)
{
    m_server.Serve(JsonReply("{\"update\": 0}"));
    std::string id;
    for (int start = 0; start < 2; ++start) {
        CQuorvantixApp app;
        ASSERT_TRUE(app.InitInstance());
        if (start == 0)
            id = StoredClientId();
        EXPECT_EQ(id, StoredClientId());
        StopApplication(app);
    }
    EXPECT_EQ(36u, id.size());
    EXPECT_EQ(std::string::npos, id.find_first_not_of("0123456789abcdef-"));
    ASSERT_TRUE(m_server.WaitForRequests(2, kWaitMs));
    std::string expected = "GET /checkupdate.php?user=" + id + "&version=1.0.0.0 HTTP/1.1";
    EXPECT_EQ(std::vector<std::string>({expected, expected}), m_server.RequestLines());
}

TEST_F(UpdateAtStartUp, LaterVersionShowsTheNoticeAndDownloadOpensThePage)
{
    m_server.Serve(JsonReply(
        u8"{\"update\": 1, \"product\": \"1.0.10.0\", \"feature\": \"更快的缩略图\\n新的打印预览\"}"));
    CQuorvantixApp app;
    NoticeSeen seen = ShowNoticeAndDownload(app);
    EXPECT_EQ("发现新版本", seen.caption);
    EXPECT_EQ("V1.0.10.0", seen.version);
    EXPECT_EQ("更快的缩略图\n新的打印预览", seen.features);
    EXPECT_TRUE(seen.laterEnabled);
    EXPECT_FALSE(QuitWasPosted());
    EXPECT_TRUE(AppSW.browseFrame->IsWindowVisible());
    StopApplication(app);
}

TEST_F(UpdateAtStartUp, LevelTwoLeavesOnlyDownloadingAndQuitsAfterTheNotice)
{
    m_server.Serve(JsonReply("{\"update\": 2, \"product\": \"2.0.0.0\", \"feature\": \"x\"}"));
    CQuorvantixApp app;
    NoticeSeen seen = ShowNoticeAndDownload(app);
    EXPECT_EQ("V2.0.0.0", seen.version);
    EXPECT_FALSE(seen.laterEnabled);
    EXPECT_TRUE(QuitWasPosted());
    StopApplication(app);
}

TEST_F(UpdateAtStartUp, StrayNoticeWithoutAReplyShowsNothing)
{
    m_server.Serve(JsonReply("{\"update\": 1, \"product\": \"1.0.0.0\"}"));
    CQuorvantixApp app;
    ASSERT_TRUE(app.InitInstance());
    ASSERT_TRUE(m_server.WaitForRequests(1, kWaitMs));
    MSG notice = {};
    notice.message = WM_UPDATE_AVAILABLE;
    DialogScript driver({[&](HWND dialog) { ClickControl(dialog, IDCANCEL); }});
    EXPECT_TRUE(app.PreTranslateMessage(&notice));
    EXPECT_FALSE(driver.Finished());
    EXPECT_FALSE(QuitWasPosted());
    StopApplication(app);
}
