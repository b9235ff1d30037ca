// A small HTTP server on 127.0.0.1 for the update check's tests: it answers
// every request with the reply it was given, in the ways a real server may
// (in pieces, without a length, cut off), and records the request lines.
// It serves at most a bounded number of connections and stops when it is
// destroyed.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace apptest {

struct HttpReply {
    // The status line and headers, each ending with "\r\n", without the
    // blank line.
    std::string head;
    std::string body;
    // Sent in pieces of this many body bytes with a pause between them; 0
    // sends the body at once.
    size_t pieceSize = 0;
    // The connection is closed after this many body bytes.
    size_t cutAfter = std::string::npos;
};

// 200 with a JSON body and its length.
HttpReply JsonReply(const std::string& body);
// 200 with the body and no length: the end of the connection ends it.
HttpReply ReplyWithoutLength(const std::string& body);
// Any status with a body and its length.
HttpReply StatusReply(int status, const std::string& body);

class HttpTestServer {
public:
    HttpTestServer();
    ~HttpTestServer();
    HttpTestServer(const HttpTestServer&) = delete;
    HttpTestServer& operator=(const HttpTestServer&) = delete;

    bool IsListening() const { return m_listener != INVALID_SOCKET_VALUE; }
    // "http://127.0.0.1:<port>/"
    std::string Address() const;
    // The reply of the following requests.
    void Serve(const HttpReply& reply);
    // Waits until this many requests were answered (and their connections
    // closed); false after the timeout.
    bool WaitForRequests(size_t count, DWORD timeoutMs);
    std::vector<std::string> RequestLines();

private:
    static const UINT_PTR INVALID_SOCKET_VALUE = ~(UINT_PTR)0;
    static DWORD WINAPI ServeThread(LPVOID server);
    void ServeConnections();
    void ServeOne(UINT_PTR connection);
    void WakeListener();

    UINT_PTR m_listener;
    int m_port;
    HANDLE m_thread;
    HANDLE m_stop;
    HANDLE m_answeredEvent;
    CRITICAL_SECTION m_lock;
    HttpReply m_reply;
    std::vector<std::string> m_requestLines;
    size_t m_answered;
};

// A loopback address where nothing listens.
std::string AddressWithoutServer();

}  // namespace apptest
