// The seam's calls answered from the loaded script. A closed or unknown handle
// passed back in is a bug of the module and stops the fuzzer at once.
#include <algorithm>
#include <cstring>
#include <memory>
#include <set>

#include "ScriptedPlatform.h"
#include "http/HttpClient.h"
#include "platform/Platform.h"

namespace scripted {
namespace {

constexpr uint32_t kErrorCannotConnect = 12029;
constexpr uint32_t kErrorTimeout = 12002;
constexpr uint32_t kErrorAborted = 12030;
constexpr uint32_t kErrorNameNotResolved = 12007;
constexpr uint32_t kReadChunk = 1500;  // several reads per reply, as on a real socket

struct Handle {
    enum class Kind { Root, Connection, Request } kind;
    std::string path;
    std::string data;  // the body still to be read
    std::size_t offset = 0;
    std::size_t breakAt = std::string::npos;  // reads fail from here on
};

struct State {
    Script script;
    std::size_t next = 0;
    std::vector<Served> served;
    std::set<Handle*> live;
    uint32_t lastError = 0;
    bool hangPending = false;
};

State& state() {
    static State s;
    return s;
}

Handle* checked(platform::NetHandle h, Handle::Kind kind) {
    auto* handle = static_cast<Handle*>(h);
    if (state().live.count(handle) == 0 || handle->kind != kind) __builtin_trap();
    return handle;
}

platform::NetHandle make(Handle::Kind kind) {
    auto* h = new Handle{kind, {}, {}, 0, std::string::npos};
    state().live.insert(h);
    return h;
}

bool failWith(uint32_t code) {
    state().lastError = code;
    return false;
}

const Exchange* peek() {
    State& s = state();
    return s.next < s.script.exchanges.size() ? &s.script.exchanges[s.next] : nullptr;
}

}  // namespace

void load(Script script) {
    State& s = state();
    for (Handle* h : s.live) delete h;
    s = State();
    s.script = std::move(script);
}

const std::vector<Served>& served() { return state().served; }
int openHandles() { return static_cast<int>(state().live.size()); }

// Whether the send that just ran is one that never finishes in time.
bool takeHang() {
    bool pending = state().hangPending;
    state().hangPending = false;
    return pending;
}

}  // namespace scripted

namespace platform {

using scripted::Handle;
using scripted::Outcome;
using scripted::state;

NetHandle internetOpen(const char*) {
    if (state().script.connectFails) {
        scripted::failWith(scripted::kErrorNameNotResolved);
        return nullptr;
    }
    return scripted::make(Handle::Kind::Root);
}

NetHandle internetConnect(NetHandle root, const std::string&, uint16_t) {
    scripted::checked(root, Handle::Kind::Root);
    return scripted::make(Handle::Kind::Connection);
}

NetHandle openRequest(NetHandle connection, const char*, const char* path, const char* const*,
                      bool) {
    scripted::checked(connection, Handle::Kind::Connection);
    const scripted::Exchange* e = scripted::peek();
    if (e != nullptr && e->outcome == Outcome::NoRequest) {
        state().served.push_back({path ? path : "", e->outcome, e->body});
        ++state().next;
        scripted::failWith(scripted::kErrorCannotConnect);
        return nullptr;
    }
    NetHandle h = scripted::make(Handle::Kind::Request);
    static_cast<Handle*>(h)->path = path ? path : "";
    return h;
}

void setRequestTimeouts(NetHandle request, uint32_t) {
    scripted::checked(request, Handle::Kind::Request);
}

bool sendRequest(NetHandle request, const char*, const char* body, uint32_t bodyLength) {
    Handle* req = scripted::checked(request, Handle::Kind::Request);
    if (body == nullptr || std::strlen(body) != bodyLength) __builtin_trap();
    const scripted::Exchange* e = scripted::peek();
    if (e == nullptr) return scripted::failWith(scripted::kErrorCannotConnect);
    ++state().next;
    state().served.push_back({req->path, e->outcome, e->body});
    switch (e->outcome) {
        case Outcome::SendFails:
        case Outcome::NoRequest:  // a stray one where a request handle exists already
            return scripted::failWith(scripted::kErrorCannotConnect);
        case Outcome::TimesOut:
            state().hangPending = true;
            return scripted::failWith(scripted::kErrorTimeout);
        case Outcome::Empty: req->data.clear(); break;
        case Outcome::Big: {
            const std::string unit = e->body.empty() ? std::string("x") : e->body;
            const std::size_t size = kReplyLimit - 1 + e->body.size() % 3;  // limit -1, 0, +1
            req->data.reserve(size);
            while (req->data.size() < size) req->data += unit;
            req->data.resize(size);
            break;
        }
        case Outcome::CutShort:
            req->data = e->body;
            req->breakAt = e->body.size() / 2;
            break;
        case Outcome::Reply: req->data = e->body; break;
    }
    state().served.back().body = req->data;
    state().lastError = 0;
    return true;
}

bool readFile(NetHandle request, char* into, uint32_t capacity, uint32_t* bytesRead) {
    Handle* req = scripted::checked(request, Handle::Kind::Request);
    *bytesRead = 0;
    if (req->offset >= req->breakAt) return scripted::failWith(scripted::kErrorAborted);
    std::size_t end = std::min(req->data.size(), req->breakAt);
    std::size_t n = std::min<std::size_t>({capacity, scripted::kReadChunk, end - req->offset});
    std::memcpy(into, req->data.data() + req->offset, n);
    req->offset += n;
    *bytesRead = static_cast<uint32_t>(n);
    return true;
}

void closeHandle(NetHandle handle) {
    Handle* h = static_cast<Handle*>(handle);
    if (state().live.erase(h) == 0) __builtin_trap();  // closed twice, or never opened
    delete h;
}

uint32_t lastError() { return state().lastError; }

// Scripted replies carry no status line: every one that arrives counts as 200.
uint32_t httpStatus(NetHandle request) {
    scripted::checked(request, Handle::Kind::Request);
    return 200;
}

std::string replyDate(NetHandle request) {
    scripted::checked(request, Handle::Kind::Request);
    return "";
}

std::vector<uint32_t> systemErrorText(uint32_t) { return {}; }

bool checkConnection(const std::wstring&) { return state().script.probeSucceeds; }

void sleepMs(uint32_t) {}  // the wrapper's pauses cost nothing here

}  // namespace platform
