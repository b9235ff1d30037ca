// Fetching one URL over HTTP through WinINet into a download buffer.
#pragma once
#include <windows.h>

class CDownloadBuffer;

enum DownloadResult {
    DOWNLOAD_OK = 0,
    // The URL cannot be opened, or the server answered with an error status.
    DOWNLOAD_CANNOT_OPEN = 1,
    // A read failed, or the connection ended before the announced length.
    DOWNLOAD_READ_FAILED = 3,
    // No connection, or no internet handle.
    DOWNLOAD_NOT_CONNECTED = 4,
    // The reply does not fit the buffer: it passes the buffer's limit, or no
    // memory can be had for it.
    DOWNLOAD_TOO_LARGE = 5,
};

// Sent to the progress window: wParam 1 before the connection test, 2 before
// the URL is opened, 3 when it is open, 4 at the end of a good transfer.
const UINT WM_DOWNLOAD_STAGE = 0x8190;
// Sent after every block: wParam the bytes read so far, lParam the length
// the reply announced (0 when it announced none).
const UINT WM_DOWNLOAD_PROGRESS = 0x8191;

// Fetches the URL into the buffer, bypassing every cache, and ends the data
// with a NUL byte. A progress window, when given, is told the stages and
// the progress. Every handle is closed before it returns.
int HttpDownload(HWND progressWindow, const char* url, CDownloadBuffer& buffer);
