// The update check against a real HTTP server on the loopback address:
// the download, the reply, the version comparison, the client id and the
// request the service sees.
#include "tests/support/gtest.h"

#include <string>

#include <tlhelp32.h>

#include "app/download_buffer.h"
#include "app/http_download.h"
#include "app/update_checker.h"
#include "app/update_reply.h"
#include "app/version_text.h"
#include "core/registry_root.h"
#include "tests/app/http_test_server.h"
#include "tests/app/test_update_service.h"
#include "tests/support/message_log.h"

using namespace apptest;

namespace {

const size_t kLimit = 1024 * 1024;
const DWORD kServerWaitMs = 10000;

int Download(const std::string& address, std::string& data)
{
    CDownloadBuffer buffer(4096, kLimit);
    int result = HttpDownload(NULL, address.c_str(), buffer);
    data.clear();
    if (result == DOWNLOAD_OK) {
        data.assign(buffer.GetData(), buffer.GetLength());
        EXPECT_EQ('\0', buffer.GetData()[buffer.GetLength()]);
    }
    return result;
}

std::string Bytes(size_t count)
{
    std::string bytes(count, 'x');
    for (size_t i = 0; i < count; i += 97)
        bytes[i] = (char)('a' + i % 26);
    return bytes;
}

bool TakeUpdateNotice()
{
    MSG message;
    return PeekMessageA(&message, (HWND)-1, WM_UPDATE_AVAILABLE, WM_UPDATE_AVAILABLE, PM_REMOVE) != 0;
}

void ClearClientKey()
{
    RegDeleteTreeA(HKEY_CURRENT_USER, HARBECK_REGISTRY_ROOT "Client");
}

void StoreClientId(DWORD type, const std::string& value)
{
    HKEY key = NULL;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, HARBECK_REGISTRY_ROOT "Client", 0, NULL, 0,
                                             KEY_READ | KEY_WRITE, NULL, &key, NULL));
    RegSetValueExA(key, "Info", 0, type, (const BYTE*)value.c_str(), (DWORD)value.size() + 1);
    RegCloseKey(key);
}

std::string StoredClientId()
{
    char value[128] = {};
    DWORD size = sizeof(value) - 1;
    HKEY key = NULL;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, HARBECK_REGISTRY_ROOT "Client", 0, KEY_READ, &key) != ERROR_SUCCESS)
        return std::string();
    RegQueryValueExA(key, "Info", NULL, NULL, (BYTE*)value, &size);
    RegCloseKey(key);
    return value;
}

bool IsLowerCaseUuid(const std::string& id)
{
    if (id.size() != 36)
        return false;
    for (size_t i = 0; i < id.size(); ++i) {
        bool dash = i == 8 || i == 13 || i == 18 || i == 23;
        char c = id[i];
        if (dash ? c != '-' : !((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')))
            return false;
    }
    return true;
}

// Runs one check on this thread against the server's reply.
bool CheckAgainst(const std::string& address, CUpdateChecker& checker)
{
    SetUpdateServiceAddress(address);
    UpdateCheckThread(checker.NewRequest());
    bool noticed = TakeUpdateNotice();
    bool replied = checker.TakeReply();
    EXPECT_EQ(noticed, replied);
    return noticed;
}

size_t ThreadsOfThisProcess()
{
    size_t count = 0;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return 0;
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
        if (entry.th32OwnerProcessID == GetCurrentProcessId())
            ++count;
    }
    CloseHandle(snapshot);
    return count;
}

// The update check's threads are not kept by the checker; a test that starts
// them waits until they are gone, as Wine can hang ending a process while
// one of them is still inside WinINet.
bool WaitForThreadsToEnd(size_t threadsBefore)
{
    DWORD start = GetTickCount();
    while (ThreadsOfThisProcess() > threadsBefore) {
        if (GetTickCount() - start > kServerWaitMs)
            return false;
        Sleep(20);
    }
    return true;
}

}  // namespace

TEST(HttpDownload, ReplyArrivesWholeAtOnceInPiecesOrWithoutALength)
{
    HttpTestServer server;
    ASSERT_TRUE(server.IsListening());
    std::string body = Bytes(50000);
    std::string data;

    server.Serve(JsonReply(body));
    EXPECT_EQ(DOWNLOAD_OK, Download(server.Address() + "a", data));
    EXPECT_EQ(body, data);

    HttpReply pieces = JsonReply(body);
    pieces.pieceSize = 7000;
    server.Serve(pieces);
    EXPECT_EQ(DOWNLOAD_OK, Download(server.Address() + "b", data));
    EXPECT_EQ(body, data);

    HttpReply noLength = ReplyWithoutLength(body);
    noLength.pieceSize = 9000;
    server.Serve(noLength);
    EXPECT_EQ(DOWNLOAD_OK, Download(server.Address() + "c", data));
    EXPECT_EQ(body, data);

    server.Serve(JsonReply(""));
    EXPECT_EQ(DOWNLOAD_OK, Download(server.Address() + "d", data));
    EXPECT_EQ("", data);
}

TEST(HttpDownload, ProgressWindowIsToldTheStagesAndTheBytes)
{
    HttpTestServer server;
    HttpReply reply = JsonReply(Bytes(40000));
    reply.pieceSize = 20000;
    server.Serve(reply);
    testwin::MessageLog log({WM_DOWNLOAD_STAGE, WM_DOWNLOAD_PROGRESS});
    HWND window = log.CreateRecorder();
    CDownloadBuffer buffer(4096, kLimit);
    ASSERT_EQ(DOWNLOAD_OK, HttpDownload(window, (server.Address() + "p").c_str(), buffer));

    const std::vector<testwin::LoggedMessage>& entries = log.Entries();
    ASSERT_GE(entries.size(), 5u);
    EXPECT_EQ(WM_DOWNLOAD_STAGE, entries[0].message);
    EXPECT_EQ(1u, entries[0].wParam);
    EXPECT_EQ(2u, entries[1].wParam);
    EXPECT_EQ(3u, entries[2].wParam);
    EXPECT_EQ(WM_DOWNLOAD_STAGE, entries.back().message);
    EXPECT_EQ(4u, entries.back().wParam);
    const testwin::LoggedMessage& last = entries[entries.size() - 2];
    EXPECT_EQ(WM_DOWNLOAD_PROGRESS, last.message);
    EXPECT_EQ(40000u, last.wParam);
    EXPECT_EQ(40000, last.lParam);
}

TEST(HttpDownload, ErrorStatusIsNoReply)
{
    HttpTestServer server;
    std::string data;
    server.Serve(StatusReply(404, "{\"update\": 1, \"product\": \"9.0.0.0\"}"));
    EXPECT_EQ(DOWNLOAD_CANNOT_OPEN, Download(server.Address() + "checkupdate.php", data));
    server.Serve(StatusReply(500, "busy"));
    EXPECT_EQ(DOWNLOAD_CANNOT_OPEN, Download(server.Address() + "checkupdate.php", data));
}

TEST(HttpDownload, ReplyLargerThanTheLimitIsRefused)
{
    HttpTestServer server;
    std::string data;
    server.Serve(JsonReply(Bytes(kLimit + 1)));
    EXPECT_EQ(DOWNLOAD_TOO_LARGE, Download(server.Address() + "announced", data));
    server.Serve(ReplyWithoutLength(Bytes(2 * kLimit)));
    EXPECT_EQ(DOWNLOAD_TOO_LARGE, Download(server.Address() + "unannounced", data));
    // Exactly the limit still fits.
    server.Serve(ReplyWithoutLength(Bytes(kLimit)));
    EXPECT_EQ(DOWNLOAD_OK, Download(server.Address() + "limit", data));
    EXPECT_EQ(kLimit, data.size());
}

TEST(HttpDownload, ConnectionEndingBeforeTheAnnouncedLengthFails)
{
    HttpTestServer server;
    HttpReply cut = JsonReply(Bytes(30000));
    cut.cutAfter = 12000;
    server.Serve(cut);
    std::string data;
    EXPECT_EQ(DOWNLOAD_READ_FAILED, Download(server.Address() + "cut", data));
}

TEST(HttpDownload, NoServerListeningCannotOpen)
{
    std::string data;
    EXPECT_EQ(DOWNLOAD_CANNOT_OPEN, Download(AddressWithoutServer() + "checkupdate.php", data));
}

TEST(UpdateReply, TopLevelKeysTakeEffectAndTheFeatureTextBecomesAnsi)
{
    CUpdateReply reply;
    ASSERT_TRUE(ReadUpdateReply(
        u8"/* a comment */ {\"update\": 2, \"product\": \"1.2.0.0\", \"feature\": \"新版本: 更快的缩略图\", "
        u8"\"other\": [1, 2]}",
        reply));
    EXPECT_EQ(2, reply.level);
    EXPECT_EQ("1.2.0.0", reply.productVersion);
    EXPECT_EQ("新版本: 更快的缩略图", reply.featureText);
}

TEST(UpdateReply, KeysOfTheWrongTypeOrPlaceAreIgnored)
{
    const char* const shapes[] = {
        "{\"update\": \"1\", \"product\": 3, \"feature\": [\"a\"]}",
        "{\"update\": 5}",
        "{\"update\": -1}",
        "{\"update\": 1.0}",
        "{\"update\": true}",
        "{\"inner\": {\"update\": 1, \"product\": \"9.0\", \"feature\": \"x\"}}",
        "[{\"update\": 1, \"product\": \"9.0\"}]",
        "[1, \"update\", 2]",
        "\"update\"",
        "1",
        "null",
        "{}",
    };
    for (const char* shape : shapes) {
        CUpdateReply reply;
        EXPECT_TRUE(ReadUpdateReply(shape, reply)) << shape;
        EXPECT_EQ(0, reply.level) << shape;
        EXPECT_EQ("", reply.productVersion) << shape;
        EXPECT_EQ("", reply.featureText) << shape;
    }
}

TEST(UpdateReply, TextThatIsNotJsonIsRefused)
{
    std::string deep(100000, '[');
    const char* const texts[] = {"", "<html>Not Found</html>", "{\"update\": 1", "{\"update\" 1}",
                                 deep.c_str()};
    for (const char* text : texts) {
        CUpdateReply reply;
        EXPECT_FALSE(ReadUpdateReply(text, reply)) << std::string(text).substr(0, 40);
    }
}

TEST(VersionText, DottedNumbersCompareAsNumbers)
{
    EXPECT_TRUE(IsLaterVersion("1.0.10.0", "1.0.9.0"));
    EXPECT_FALSE(IsLaterVersion("1.0.9.0", "1.0.10.0"));
    EXPECT_TRUE(IsLaterVersion("1.0.0.1", "1.0.0.0"));
    EXPECT_TRUE(IsLaterVersion("2", "1.9.9.9"));
    EXPECT_FALSE(IsLaterVersion("1.0.0.0", "1.0.0.0"));
    EXPECT_FALSE(IsLaterVersion("1.0", "1.0.0.0"));
    EXPECT_TRUE(IsLaterVersion("1.0.0.0.1", "1.0.0.0"));
    EXPECT_TRUE(IsLaterVersion("01.0.0.10", "1.0.0.9"));
    // Texts that are not versions are never later, nor is anything compared with them.
    EXPECT_FALSE(IsLaterVersion("", "1.0.0.0"));
    EXPECT_FALSE(IsLaterVersion("1.0.0.1-beta", "1.0.0.0"));
    EXPECT_FALSE(IsLaterVersion("1..1", "1.0.0.0"));
    EXPECT_FALSE(IsLaterVersion("1.0.0.", "1.0.0.0"));
    EXPECT_FALSE(IsLaterVersion("9999999999.0", "1.0.0.0"));
    EXPECT_FALSE(IsLaterVersion("2.0.0.0", "x"));
    EXPECT_FALSE(IsLaterVersion(nullptr, "1.0.0.0"));
}

TEST(UpdateCheck, LaterVersionLeavesTheReplyAndPostsTheNotice)
{
    HttpTestServer server;
    server.Serve(JsonReply(u8"{\"update\": 1, \"product\": \"1.0.10.0\", \"feature\": \"缩略图\"}"));
    CUpdateChecker checker;
    ASSERT_TRUE(CheckAgainst(server.Address(), checker));
    EXPECT_EQ(1, checker.GetUpdateLevel());
    EXPECT_STREQ("1.0.10.0", checker.GetProductVersion());
    EXPECT_STREQ("缩略图", checker.GetFeatureText());
    EXPECT_FALSE(checker.TakeReply());
}

TEST(UpdateCheck, NoNoticeWithoutALaterVersionALevelOrAReply)
{
    HttpTestServer server;
    const HttpReply replies[] = {
        JsonReply("{\"update\": 1, \"product\": \"1.0.0.0\"}"),
        JsonReply("{\"update\": 1, \"product\": \"0.9.0.0\"}"),
        JsonReply("{\"update\": 0, \"product\": \"9.0.0.0\"}"),
        JsonReply("{\"update\": 1}"),
        JsonReply("{\"update\": 1, \"product\": \"9.0.0.0\""),
        JsonReply("<html><body>maintenance</body></html>"),
        StatusReply(404, "{\"update\": 1, \"product\": \"9.0.0.0\"}"),
    };
    for (const HttpReply& reply : replies) {
        server.Serve(reply);
        CUpdateChecker checker;
        EXPECT_FALSE(CheckAgainst(server.Address(), checker)) << reply.body;
    }
    CUpdateChecker checker;
    EXPECT_FALSE(CheckAgainst(AddressWithoutServer(), checker));
}

TEST(ClientId, TamperedStoredIdCannotChangeTheRequest)
{
    HttpTestServer server;
    server.Serve(JsonReply("{}"));
    SetUpdateServiceAddress(server.Address());
    StoreClientId(REG_SZ, "a b&version=9.9#x/?");
    CUpdateChecker checker;
    size_t threadsBefore = ThreadsOfThisProcess();
    ASSERT_TRUE(checker.StartUpdateCheck());
    ASSERT_TRUE(server.WaitForRequests(1, kServerWaitMs));
    EXPECT_TRUE(WaitForThreadsToEnd(threadsBefore));
    EXPECT_EQ("GET /checkupdate.php?user=a%20b%26version%3D9.9%23x%2F%3F&version=1.0.0.0 HTTP/1.1",
              server.RequestLines().at(0));
    ClearClientKey();
}

TEST(ClientId, UnreadableStoredIdIsMadeAnew)
{
    const std::pair<DWORD, std::string> stored[] = {
        {REG_SZ, std::string(39, 'a')},
        {REG_SZ, ""},
        {REG_BINARY, "0123456789abcdef"},
    };
    SetUpdateServiceAddress(AddressWithoutServer());
    for (const auto& value : stored) {
        ClearClientKey();
        StoreClientId(value.first, value.second);
        CUpdateChecker checker;
        EXPECT_FALSE(checker.ReadClientId());
        size_t threadsBefore = ThreadsOfThisProcess();
        ASSERT_TRUE(checker.StartUpdateCheck());
        EXPECT_TRUE(IsLowerCaseUuid(StoredClientId())) << value.second;
        EXPECT_TRUE(WaitForThreadsToEnd(threadsBefore));
    }
    ClearClientKey();
}
