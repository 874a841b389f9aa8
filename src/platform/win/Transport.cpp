// The transport's platform calls on Windows: WinInet, as the host machine has it.
#include <windows.h>
#include <wininet.h>


#include "platform/Platform.h"

namespace platform {

NetHandle internetOpen(const char* agent) {
    return InternetOpenA(agent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
}

NetHandle internetConnect(NetHandle root, const std::string& host, uint16_t port) {
    return InternetConnectA(static_cast<HINTERNET>(root), host.c_str(), port, nullptr, nullptr,
                            INTERNET_SERVICE_HTTP, 0, 1);
}

NetHandle openRequest(NetHandle connection, const char* verb, const char* path,
                      const char* const* acceptTypes, bool secure) {
    return HttpOpenRequestA(static_cast<HINTERNET>(connection), verb, path, nullptr, nullptr,
                            const_cast<LPCSTR*>(acceptTypes), secure ? INTERNET_FLAG_SECURE : 0,
                            1);
}

void setRequestTimeouts(NetHandle request, uint32_t ms) {
    DWORD value = ms;
    for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT,
                         INTERNET_OPTION_RECEIVE_TIMEOUT}) {
        InternetSetOptionA(static_cast<HINTERNET>(request), option, &value, sizeof value);
    }
}

bool sendRequest(NetHandle request, const char* headers, const char* body, uint32_t bodyLength) {
    return HttpSendRequestA(static_cast<HINTERNET>(request), headers, static_cast<DWORD>(-1),
                            const_cast<char*>(body), bodyLength) != FALSE;
}

bool readFile(NetHandle request, char* into, uint32_t capacity, uint32_t* bytesRead) {
    DWORD got = 0;
    BOOL ok = InternetReadFile(static_cast<HINTERNET>(request), into, capacity, &got);
    *bytesRead = got;
    return ok != FALSE;
}

void closeHandle(NetHandle handle) { InternetCloseHandle(static_cast<HINTERNET>(handle)); }

uint32_t lastError() { return GetLastError(); }

bool checkConnection(const std::wstring& url) {
    return InternetCheckConnectionW(url.c_str(), FLAG_ICC_FORCE_CONNECTION, 0) != FALSE;
}

void sleepMs(uint32_t ms) { Sleep(ms); }

}  // namespace platform
