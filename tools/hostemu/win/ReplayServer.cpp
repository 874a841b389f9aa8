#include "ReplayServer.h"

#include "files/FileBytes.h"
#include "log/LogEvents.h"
#include "replay/RequestParser.h"

// winsock2 before windows.h.
#include <winsock2.h>
// windows.h after it
#include <windows.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr std::size_t kMaxClients = 32;
constexpr DWORD kLingerAfterReplyMs = 2000;  // waiting for the client to close first
constexpr long kSelectWaitUs = 10000;
// Nothing the module does takes longer than two 60-second sends, both pauses and
// the probe per request; no connection is kept longer than this.
constexpr DWORD kMaxHoldMs = 10 * 60 * 1000;

class Lock {
  public:
    explicit Lock(CRITICAL_SECTION& cs) : cs_(cs) { EnterCriticalSection(&cs_); }
    ~Lock() { LeaveCriticalSection(&cs_); }
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;

  private:
    CRITICAL_SECTION& cs_;
};

struct Client {
    enum class Phase { Reading, Answered, Held };
    SOCKET socket = INVALID_SOCKET;
    Phase phase = Phase::Reading;
    std::string in;
    DWORD since = 0;
};

// The entries the log reader takes for a request sent.
bool isAnnouncement(const replay::LogEntry& e) {
    using logevent::Role;
    return e.has(Role::AnnouncesRequest) || e.has(Role::AnnouncesRetry) ||
           e.has(Role::AnnouncesHolderLookup);
}

// True once the replay's log shows request `index` (0-based) of the call
// announced and something logged after it: its send is over.
bool announcedAndPast(const std::string& logName, long long offset, std::size_t index) {
    std::FILE* f = openFile(logName, "rb");
    if (!f) return false;
    std::string text;
    if (offset > 0 && std::fseek(f, static_cast<long>(offset), SEEK_SET) != 0) offset = 0;
    char buf[8192];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) text.append(buf, n);
    std::fclose(f);
    const std::vector<replay::LogEntry> entries = replay::splitEntries(text);
    std::size_t seen = 0;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (isAnnouncement(entries[i]) && seen++ == index) return i + 1 < entries.size();
    }
    return false;
}

const char* reasonOf(int status) {
    switch (status) {
        case 200: return "OK";
        case 404: return "Not Found";
        case 413: return "Payload Too Large";
        case 500: return "Internal Server Error";
        default: return "Status";
    }
}

void sendAll(SOCKET s, const std::string& data) {
    std::size_t done = 0;
    while (done < data.size()) {
        const int n = send(s, data.data() + done, static_cast<int>(data.size() - done), 0);
        if (n <= 0) return;
        done += static_cast<std::size_t>(n);
    }
}

// Headers and body in one send: two writes would stall each exchange on
// Nagle's algorithm against the client's delayed acknowledgement.
void answer(SOCKET s, int status, const std::string& body) {
    char head[256];
    std::snprintf(head, sizeof head,
                  "HTTP/1.1 %d %s\r\nContent-Type: application/json; charset=utf-8\r\n"
                  "Content-Length: %lu\r\nConnection: close\r\n\r\n",
                  status, reasonOf(status), static_cast<unsigned long>(body.size()));
    sendAll(s, head + body);
}

}  // namespace

struct ReplayServer::State {
    CRITICAL_SECTION lock;
    HANDLE stop = nullptr;
    HANDLE thread = nullptr;
    unsigned long address = INADDR_NONE;
    SOCKET listener = INVALID_SOCKET;
    SOCKET held = INVALID_SOCKET;  // bound, not listening: while connections are refused
    std::vector<Client> clients;

    // Guarded by `lock`.
    std::vector<replay::Attempt> attempts;
    std::vector<bool> used;
    std::vector<replay::Received> received;
    std::string logName;
    long long logOffset = 0;

    // A socket bound to the address and port 80 for this process alone: with
    // SO_REUSEADDR Windows lets a second socket bind a port in use, and two
    // replays at once would answer each other's calls.
    SOCKET bound() const {
        SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        if (s == INVALID_SOCKET) return s;
        const BOOL on = TRUE;
        setsockopt(s, SOL_SOCKET, SO_EXCLUSIVEADDRUSE, reinterpret_cast<const char*>(&on),
                   sizeof on);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_port = htons(80);
        a.sin_addr.s_addr = address;
        if (bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
            closesocket(s);
            return INVALID_SOCKET;
        }
        return s;
    }

    bool listen() {
        if (listener != INVALID_SOCKET) return true;
        SOCKET s = held != INVALID_SOCKET ? held : bound();
        held = INVALID_SOCKET;
        if (s == INVALID_SOCKET) return false;
        if (::listen(s, 16) != 0) {
            closesocket(s);
            return false;
        }
        listener = s;
        return true;
    }

    // Refuses connections: the listener goes, and a socket that is bound but
    // does not listen keeps the address ours meanwhile (connections to it are
    // refused, as to no socket at all).
    void stopListening(bool keepAddress = true) {
        if (listener == INVALID_SOCKET) return;
        closesocket(listener);
        listener = INVALID_SOCKET;
        if (keepAddress && held == INVALID_SOCKET) held = bound();
    }

    void release() {
        stopListening(false);
        if (held != INVALID_SOCKET) closesocket(held);
        held = INVALID_SOCKET;
    }

    // The first request not yet served; a refusal there closes the door until
    // the module has logged past that request (`watchLog`), else it is open.
    // Called with `lock` held, right when the script moves on, so that the
    // door is in place before the module's next connection.
    void applyDoor(bool watchLog) {
        for (std::size_t i = 0; i < attempts.size(); ++i) {
            if (used[i]) continue;
            if (attempts[i].outcome != replay::Attempt::Outcome::Refused) break;
            stopListening();
            if (!watchLog || !announcedAndPast(logName, logOffset, i)) return;
            used[i] = true;
        }
        listen();
    }

    void followScript() {
        Lock l(lock);
        applyDoor(true);
    }

    SOCKET currentListener() {
        Lock l(lock);
        return listener;
    }

    void serve(Client& c, const std::string& path, const std::string& body) {
        Lock l(lock);
        received.push_back({path, body});
        for (std::size_t i = 0; i < attempts.size(); ++i) {
            const replay::Attempt& a = attempts[i];
            if (used[i] || !a.reachesService()) continue;
            if (a.pathKnown ? a.path != path : path.rfind(a.path, 0) != 0) continue;
            used[i] = true;
            if (a.outcome == replay::Attempt::Outcome::TimedOut) {
                c.phase = Client::Phase::Held;
            } else {
                answer(c.socket, a.httpStatus,
                       a.outcome == replay::Attempt::Outcome::Replied ? a.reply : std::string());
                c.phase = Client::Phase::Answered;
            }
            c.since = GetTickCount();
            applyDoor(false);
            return;
        }
        // Not in the log: an empty reply, which the module treats as none.
        answer(c.socket, 404, std::string());
        c.phase = Client::Phase::Answered;
        c.since = GetTickCount();
    }

    void closeClients(bool all) {
        for (std::size_t i = clients.size(); i-- > 0;) {
            if (!all && clients[i].socket != INVALID_SOCKET) continue;
            if (clients[i].socket != INVALID_SOCKET) closesocket(clients[i].socket);
            clients.erase(clients.begin() + static_cast<std::ptrdiff_t>(i));
        }
    }

    void step() {
        // The owner may close the listener meanwhile; accept then just fails.
        const SOCKET door = currentListener();
        fd_set readable;
        FD_ZERO(&readable);
        if (door != INVALID_SOCKET) FD_SET(door, &readable);
        for (const Client& c : clients) FD_SET(c.socket, &readable);
        timeval wait{0, kSelectWaitUs};
        if (readable.fd_count == 0) {
            Sleep(kSelectWaitUs / 1000);
            return;
        }
        if (select(0, &readable, nullptr, nullptr, &wait) <= 0) return;
        if (door != INVALID_SOCKET && FD_ISSET(door, &readable)) {
            SOCKET s = accept(door, nullptr, nullptr);
            if (s != INVALID_SOCKET) {
                if (clients.size() >= kMaxClients) {
                    closesocket(s);
                } else {
                    Client c;
                    c.socket = s;
                    c.since = GetTickCount();
                    clients.push_back(c);
                }
            }
        }
        for (Client& c : clients) {
            if (!FD_ISSET(c.socket, &readable)) continue;
            char buf[4096];
            const int n = recv(c.socket, buf, sizeof buf, 0);
            if (n <= 0) {
                closesocket(c.socket);
                c.socket = INVALID_SOCKET;
                continue;
            }
            if (c.phase != Client::Phase::Reading) continue;  // the rest is not ours to read
            c.in.append(buf, static_cast<std::size_t>(n));
            std::string path, body;
            const replay::Parse p = replay::parseRequest(c.in, path, body);
            if (p == replay::Parse::Bad) {
                answer(c.socket, 413, std::string());
                c.phase = Client::Phase::Answered;
                c.since = GetTickCount();
            } else if (p == replay::Parse::Done) {
                serve(c, path, body);
            }
        }
        const DWORD now = GetTickCount();
        for (Client& c : clients) {
            const DWORD limit =
                c.phase == Client::Phase::Answered ? kLingerAfterReplyMs : kMaxHoldMs;
            if (c.socket != INVALID_SOCKET && now - c.since > limit) {
                closesocket(c.socket);
                c.socket = INVALID_SOCKET;
            }
        }
        closeClients(false);
    }
};

namespace {

DWORD WINAPI serverThread(LPVOID parameter) {
    auto* state = static_cast<ReplayServer::State*>(parameter);
    // Ends with the replay: the owner sets `stop` before it goes.
    while (WaitForSingleObject(state->stop, 0) == WAIT_TIMEOUT) {
        state->followScript();
        state->step();
    }
    state->closeClients(true);
    Lock l(state->lock);
    state->release();
    return 0;
}

}  // namespace

ReplayServer::ReplayServer() : state_(new State) {
    InitializeCriticalSection(&state_->lock);
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
}

ReplayServer::~ReplayServer() {
    if (state_->thread) {
        SetEvent(state_->stop);
        WaitForSingleObject(state_->thread, INFINITE);
        CloseHandle(state_->thread);
    } else {
        state_->release();
    }
    if (state_->stop) CloseHandle(state_->stop);
    DeleteCriticalSection(&state_->lock);
    delete state_;
    WSACleanup();
}

bool ReplayServer::start(const std::string& first, replay::Reason& why) {
    const unsigned long base = inet_addr(first.c_str());
    if (base == INADDR_NONE || (ntohl(base) >> 24) != 127) {
        why = {Msg::replay_not_loopback, {{"address", first}}};
        return false;
    }
    for (unsigned i = 0; i < 16; ++i) {
        const unsigned long host = ntohl(base) + i;
        // Loopback only: the candidates end with 127.255.255.254.
        if ((host >> 24) != 127) break;
        if ((host & 0xff) == 0 || (host & 0xff) == 255) continue;
        state_->address = htonl(host);
        if (!state_->listen()) continue;
        char text[16];
        std::snprintf(text, sizeof text, "%lu.%lu.%lu.%lu", host >> 24, (host >> 16) & 0xff,
                      (host >> 8) & 0xff, host & 0xff);
        address_ = text;
        state_->stop = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        state_->thread =
            state_->stop ? CreateThread(nullptr, 0, serverThread, state_, 0, nullptr) : nullptr;
        if (!state_->thread) {
            why = {Msg::replay_no_server_thread};
            return false;
        }
        return true;
    }
    why = {Msg::replay_no_free_address, {{"address", first}}};
    return false;
}

void ReplayServer::beginCall(const std::vector<replay::Attempt>& attempts,
                             const std::string& logName, long long logOffset) {
    Lock l(state_->lock);
    state_->attempts = attempts;
    state_->used.assign(attempts.size(), false);
    state_->received.clear();
    state_->logName = logName;
    state_->logOffset = logOffset;
    state_->applyDoor(false);
}

std::vector<replay::Received> ReplayServer::endCall() {
    Lock l(state_->lock);
    state_->attempts.clear();
    state_->used.clear();
    return std::move(state_->received);
}
