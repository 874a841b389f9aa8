// The DLL's boundary: calling convention, plain export names (see brisvane.def),
// the outermost catch-all of every exported function, and the one lock that
// keeps a host calling from several threads at once from overlapping calls.
#include "host/Exports.h"

#include <windows.h>

#include <cstdint>

#include "host/Entry.h"
#include "host/Guard.h"
#include "log/LogEvents.h"

namespace {

// The transport's WinInet session handles and lastErrorCode are module-wide,
// and the log is appended entry by entry: two calls at once would tear them.
// A critical section rather than std::mutex: the latter pulls in winpthreads,
// whose imports Windows XP lacks. Set up by the runtime's static constructors,
// which run before DllMain on load; DllMain itself never takes it (it runs
// under the loader lock).
class CallLock {
  public:
    CallLock() { InitializeCriticalSection(&section_); }
    ~CallLock() { DeleteCriticalSection(&section_); }
    CallLock(const CallLock&) = delete;
    CallLock& operator=(const CallLock&) = delete;

    void enter() { EnterCriticalSection(&section_); }
    void leave() { LeaveCriticalSection(&section_); }

  private:
    CRITICAL_SECTION section_;
};

CallLock callLock;

// Released on every way out, exceptions included.
class Hold {
  public:
    explicit Hold(CallLock& lock) : lock_(lock) { lock_.enter(); }
    ~Hold() { lock_.leave(); }
    Hold(const Hold&) = delete;
    Hold& operator=(const Hold&) = delete;

  private:
    CallLock& lock_;
};

template <typename Body>
int32_t serialized(Body body) {
    Hold hold(callLock);
    return body();
}

}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) {
    // Every notification, whatever its reason, empties the marker file.
    try {
        truncateInitMarker();
    } catch (...) {
    }
    return TRUE;
}

int32_t __stdcall Init() {
    // Init has no failure result: even an unexpected fault reports 0.
    return guardedCall(logtag::kInit, 0, [] { return serialized([] { return runInit(); }); });
}

int32_t __stdcall GetCardInfoEx(int64_t card, uint32_t, uint32_t, CardInfoRecord* record,
                                const char* inpBuf, uint32_t inpLen, uint16_t, void*, uint32_t,
                                uint16_t) {
    return guardedCall(logtag::kGetCardInfoEx, 1, [&] {
        return serialized([&] { return runGetCardInfoEx(card, record, inpBuf, inpLen); });
    });
}

int32_t __stdcall TransactionsEx(uint32_t, uint32_t, const char* inpBuf, uint32_t inpLen, uint16_t,
                                 void*, uint32_t, uint16_t) {
    return guardedCall(logtag::kTransactionsEx, 1, [&] {
        return serialized([&] { return runTransactionsEx(inpBuf, inpLen); });
    });
}

}  // extern "C"
