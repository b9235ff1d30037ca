#include "tests/app/http_test_server.h"

#include <stdio.h>

namespace apptest {

namespace {

const int kMaxConnections = 64;
const DWORD kSocketTimeoutMs = 5000;
const DWORD kPieceGapMs = 30;
const size_t kMaxRequestBytes = 16384;
// shutdown() of the sending side (winsock.h, which windows.h brings, lacks the name).
const int kShutdownSending = 1;

std::string Head(int status, const char* reason, const std::string& headers)
{
    char line[64];
    snprintf(line, sizeof(line), "HTTP/1.1 %d %s\r\n", status, reason);
    return line + headers + "Connection: close\r\n";
}

std::string LengthHeader(size_t length)
{
    char header[64];
    snprintf(header, sizeof(header), "Content-Length: %zu\r\n", length);
    return header;
}

void SetTimeouts(SOCKET socket)
{
    DWORD timeout = kSocketTimeoutMs;
    setsockopt(socket, SOL_SOCKET, SO_RCVTIMEO, (const char*)&timeout, sizeof(timeout));
    setsockopt(socket, SOL_SOCKET, SO_SNDTIMEO, (const char*)&timeout, sizeof(timeout));
}

bool SendAll(SOCKET socket, const char* data, size_t length)
{
    while (length > 0) {
        int sent = send(socket, data, (int)length, 0);
        if (sent <= 0)
            return false;
        data += sent;
        length -= (size_t)sent;
    }
    return true;
}

// The request up to its blank line; its first line, or empty.
std::string ReadRequestLine(SOCKET socket)
{
    std::string request;
    char block[1024];
    while (request.find("\r\n\r\n") == std::string::npos && request.size() < kMaxRequestBytes) {
        int got = recv(socket, block, sizeof(block), 0);
        if (got <= 0)
            break;
        request.append(block, (size_t)got);
    }
    return request.substr(0, request.find("\r\n"));
}

// Lets the client see the end of the reply before the socket goes.
void CloseGracefully(SOCKET socket)
{
    shutdown(socket, kShutdownSending);
    char block[256];
    while (recv(socket, block, sizeof(block), 0) > 0) {
    }
    closesocket(socket);
}

}  // namespace

HttpReply JsonReply(const std::string& body)
{
    HttpReply reply;
    reply.head = Head(200, "OK", "Content-Type: application/json\r\n" + LengthHeader(body.size()));
    reply.body = body;
    return reply;
}

HttpReply ReplyWithoutLength(const std::string& body)
{
    HttpReply reply;
    reply.head = Head(200, "OK", "Content-Type: text/plain\r\n");
    reply.body = body;
    return reply;
}

HttpReply StatusReply(int status, const std::string& body)
{
    HttpReply reply;
    reply.head = Head(status, status == 200 ? "OK" : "Error", LengthHeader(body.size()));
    reply.body = body;
    return reply;
}

HttpTestServer::HttpTestServer()
    : m_listener(INVALID_SOCKET_VALUE),
      m_port(0),
      m_thread(NULL),
      m_stop(CreateEventA(NULL, TRUE, FALSE, NULL)),
      m_answeredEvent(CreateEventA(NULL, FALSE, FALSE, NULL)),
      m_answered(0)
{
    InitializeCriticalSection(&m_lock);
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0)
        return;
    SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (listener == INVALID_SOCKET)
        return;
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    int size = sizeof(address);
    if (bind(listener, (sockaddr*)&address, sizeof(address)) != 0 || listen(listener, 8) != 0 ||
        getsockname(listener, (sockaddr*)&address, &size) != 0) {
        closesocket(listener);
        return;
    }
    m_port = ntohs(address.sin_port);
    m_listener = listener;
    m_thread = CreateThread(NULL, 0, ServeThread, this, 0, NULL);
}

HttpTestServer::~HttpTestServer()
{
    SetEvent(m_stop);
    WakeListener();
    if (m_thread != NULL) {
        WaitForSingleObject(m_thread, 30000);
        CloseHandle(m_thread);
    }
    if (m_listener != INVALID_SOCKET_VALUE)
        closesocket(m_listener);
    CloseHandle(m_stop);
    CloseHandle(m_answeredEvent);
    DeleteCriticalSection(&m_lock);
    WSACleanup();
}

// Connects once, so that a thread waiting in accept() sees the stop request.
void HttpTestServer::WakeListener()
{
    if (m_listener == INVALID_SOCKET_VALUE)
        return;
    SOCKET client = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons((u_short)m_port);
    connect(client, (sockaddr*)&address, sizeof(address));
    closesocket(client);
}

std::string HttpTestServer::Address() const
{
    char address[64];
    snprintf(address, sizeof(address), "http://127.0.0.1:%d/", m_port);
    return address;
}

void HttpTestServer::Serve(const HttpReply& reply)
{
    EnterCriticalSection(&m_lock);
    m_reply = reply;
    LeaveCriticalSection(&m_lock);
}

bool HttpTestServer::WaitForRequests(size_t count, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        EnterCriticalSection(&m_lock);
        size_t answered = m_answered;
        LeaveCriticalSection(&m_lock);
        if (answered >= count)
            return true;
        DWORD waited = GetTickCount() - start;
        if (waited >= timeoutMs || WaitForSingleObject(m_answeredEvent, timeoutMs - waited) != WAIT_OBJECT_0)
            return false;
    }
}

std::vector<std::string> HttpTestServer::RequestLines()
{
    EnterCriticalSection(&m_lock);
    std::vector<std::string> lines = m_requestLines;
    LeaveCriticalSection(&m_lock);
    return lines;
}

DWORD WINAPI HttpTestServer::ServeThread(LPVOID server)
{
    ((HttpTestServer*)server)->ServeConnections();
    return 0;
}

void HttpTestServer::ServeConnections()
{
    SOCKET listener = (SOCKET)m_listener;
    for (int served = 0; served < kMaxConnections; ++served) {
        SOCKET connection = accept(listener, NULL, NULL);
        if (WaitForSingleObject(m_stop, 0) == WAIT_OBJECT_0) {
            if (connection != INVALID_SOCKET)
                closesocket(connection);
            return;
        }
        if (connection != INVALID_SOCKET)
            ServeOne((UINT_PTR)connection);
    }
}

void HttpTestServer::ServeOne(UINT_PTR connectionValue)
{
    SOCKET connection = (SOCKET)connectionValue;
    SetTimeouts(connection);
    std::string requestLine = ReadRequestLine(connection);
    EnterCriticalSection(&m_lock);
    HttpReply reply = m_reply;
    m_requestLines.push_back(requestLine);
    LeaveCriticalSection(&m_lock);

    std::string head = reply.head + "\r\n";
    size_t bodyBytes = reply.body.size() < reply.cutAfter ? reply.body.size() : reply.cutAfter;
    size_t piece = reply.pieceSize == 0 ? bodyBytes : reply.pieceSize;
    bool sent = SendAll(connection, head.data(), head.size());
    for (size_t offset = 0; sent && offset < bodyBytes; offset += piece) {
        if (offset > 0)
            Sleep(kPieceGapMs);
        size_t length = bodyBytes - offset < piece ? bodyBytes - offset : piece;
        sent = SendAll(connection, reply.body.data() + offset, length);
    }
    CloseGracefully(connection);

    EnterCriticalSection(&m_lock);
    ++m_answered;
    LeaveCriticalSection(&m_lock);
    SetEvent(m_answeredEvent);
}

std::string AddressWithoutServer()
{
    // A port that was free a moment ago: nothing listens there now.
    HttpTestServer server;
    return server.Address();
}

}  // namespace apptest
