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
                            const_cast<LPCSTR*>(acceptTypes), secure ? INTERNET_FLAG_SECURE : 0, 1);
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

uint32_t httpStatus(NetHandle request) {
    DWORD status = 0;
    DWORD size = sizeof status;
    if (!HttpQueryInfoA(static_cast<HINTERNET>(request),
                        HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr)) {
        return 0;
    }
    return status;
}

std::string replyDate(NetHandle request) {
    char text[128];
    DWORD size = sizeof text;
    if (!HttpQueryInfoA(static_cast<HINTERNET>(request), HTTP_QUERY_DATE, text, &size, nullptr)) {
        return "";
    }
    return std::string(text, size < sizeof text ? size : sizeof text - 1);
}

void closeHandle(NetHandle handle) { InternetCloseHandle(static_cast<HINTERNET>(handle)); }

uint32_t lastError() { return GetLastError(); }

std::vector<uint32_t> systemErrorText(uint32_t code) {
    // WinInet's codes live in wininet.dll's message table, the others in the
    // system's. Read as UTF-16 so that the text is the same whatever the
    // machine's ANSI code page.
    HMODULE wininet = GetModuleHandleA("wininet.dll");
    DWORD flags = FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;
    if (wininet != nullptr) flags |= FORMAT_MESSAGE_FROM_HMODULE;
    wchar_t text[512];
    const DWORD n =
        FormatMessageW(flags, wininet, code, 0, text, sizeof text / sizeof text[0], nullptr);
    std::vector<uint32_t> out;
    for (DWORD i = 0; i < n; ++i) out.push_back(static_cast<uint16_t>(text[i]));
    return out;
}

bool checkConnection(const std::wstring& url) {
    return InternetCheckConnectionW(url.c_str(), FLAG_ICC_FORCE_CONNECTION, 0) != FALSE;
}

void sleepMs(uint32_t ms) { Sleep(ms); }

}  // namespace platform
