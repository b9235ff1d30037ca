#include "app/http_download.h"

#include <stdio.h>
#include <wininet.h>

#include "app/download_buffer.h"

namespace {

const char kAcceptHeader[] = "Accept: */*\r\n\r\n";
const DWORD kOpenFlags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE;
const DWORD kBlockSize = 16384;

enum DownloadStage {
    STAGE_TESTING_CONNECTION = 1,
    STAGE_OPENING_URL = 2,
    STAGE_URL_OPEN = 3,
    STAGE_DONE = 4,
};

// Closes its WinINet handle when it goes out of scope.
class CInternetHandle {
public:
    explicit CInternetHandle(HINTERNET handle) : m_handle(handle) {}
    ~CInternetHandle()
    {
        if (m_handle != NULL)
            InternetCloseHandle(m_handle);
    }
    CInternetHandle(const CInternetHandle&) = delete;
    CInternetHandle& operator=(const CInternetHandle&) = delete;

    HINTERNET Get() const { return m_handle; }

private:
    HINTERNET m_handle;
};

void Tell(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (window != NULL)
        SendMessageA(window, message, wParam, lParam);
}

// A number of the reply's head (HTTP_QUERY_STATUS_CODE,
// HTTP_QUERY_CONTENT_LENGTH); 0 when the reply has none.
DWORD QueryNumber(HINTERNET request, DWORD info)
{
    DWORD number = 0;
    DWORD size = sizeof(number);
    if (!HttpQueryInfoA(request, info | HTTP_QUERY_FLAG_NUMBER, &number, &size, NULL))
        return 0;
    return number;
}

int ReadBody(HWND progressWindow, HINTERNET request, DWORD announcedLength, CDownloadBuffer& buffer)
{
    if (announcedLength > buffer.GetLimit())
        return DOWNLOAD_TOO_LARGE;
    char block[kBlockSize];
    for (;;) {
        DWORD read = 0;
        if (!InternetReadFile(request, block, sizeof(block), &read))
            return DOWNLOAD_READ_FAILED;
        if (read == 0)
            break;
        if (!buffer.Append(block, read))
            return DOWNLOAD_TOO_LARGE;
        Tell(progressWindow, WM_DOWNLOAD_PROGRESS, buffer.GetLength(), announcedLength);
    }
    if (announcedLength != 0 && buffer.GetLength() != announcedLength)
        return DOWNLOAD_READ_FAILED;
    return DOWNLOAD_OK;
}

}  // namespace

int HttpDownload(HWND progressWindow, const char* url, CDownloadBuffer& buffer)
{
    Tell(progressWindow, WM_DOWNLOAD_STAGE, STAGE_TESTING_CONNECTION, 0);
    DWORD connection = 0;
    if (!InternetGetConnectedState(&connection, 0))
        return DOWNLOAD_NOT_CONNECTED;

    char agent[32];
    snprintf(agent, sizeof(agent), "Agent%ld", 100L);
    DWORD access = (connection & INTERNET_CONNECTION_PROXY) ? INTERNET_OPEN_TYPE_PRECONFIG
                                                            : INTERNET_OPEN_TYPE_PRECONFIG_WITH_NO_AUTOPROXY;
    CInternetHandle session(InternetOpenA(agent, access, NULL, NULL, 0));
    if (session.Get() == NULL)
        return DOWNLOAD_NOT_CONNECTED;

    Tell(progressWindow, WM_DOWNLOAD_STAGE, STAGE_OPENING_URL, 0);
    CInternetHandle request(
        InternetOpenUrlA(session.Get(), url, kAcceptHeader, sizeof(kAcceptHeader) - 1, kOpenFlags, 0));
    if (request.Get() == NULL)
        return DOWNLOAD_CANNOT_OPEN;
    DWORD status = QueryNumber(request.Get(), HTTP_QUERY_STATUS_CODE);
    if (status < 200 || status > 299)
        return DOWNLOAD_CANNOT_OPEN;
    Tell(progressWindow, WM_DOWNLOAD_STAGE, STAGE_URL_OPEN, 0);

    int result =
        ReadBody(progressWindow, request.Get(), QueryNumber(request.Get(), HTTP_QUERY_CONTENT_LENGTH), buffer);
    if (result == DOWNLOAD_OK && !buffer.Terminate())
        result = DOWNLOAD_TOO_LARGE;
    if (result == DOWNLOAD_OK)
        Tell(progressWindow, WM_DOWNLOAD_STAGE, STAGE_DONE, 0);
    return result;
}
