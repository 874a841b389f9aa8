// What automatic proxy configuration chooses for a URL, through WinHTTP's
// resolver, which runs detection and the configuration script as WinInet does.
// WinHTTP is loaded at run time: hostemu imports nothing of it.
#include <windows.h>
#include <winhttp.h>

#include "TillProbes.h"

namespace {

std::wstring wide(const std::string& text) {
    const int n = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, nullptr, 0);
    if (n <= 0) return L"";
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, &out[0], n);
    out.pop_back();
    return out;
}

std::string narrow(const wchar_t* text) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (n <= 1) return "";
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, &out[0], n, nullptr, nullptr);
    out.pop_back();
    return out;
}

template <typename F>
F lookUp(HMODULE module, const char* name) {
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace

AutoProxy resolveAutomaticProxy(bool detect, const std::string& scriptUrl, const std::string& url,
                                uint32_t timeoutMs) {
    AutoProxy a;
    HMODULE winhttp = LoadLibraryA("winhttp.dll");
    using OpenFn = HINTERNET(WINAPI*)(LPCWSTR, DWORD, LPCWSTR, LPCWSTR, DWORD);
    using TimeoutsFn = BOOL(WINAPI*)(HINTERNET, int, int, int, int);
    using ResolveFn =
        BOOL(WINAPI*)(HINTERNET, LPCWSTR, WINHTTP_AUTOPROXY_OPTIONS*, WINHTTP_PROXY_INFO*);
    using CloseFn = BOOL(WINAPI*)(HINTERNET);
    OpenFn open = winhttp ? lookUp<OpenFn>(winhttp, "WinHttpOpen") : nullptr;
    TimeoutsFn timeouts = winhttp ? lookUp<TimeoutsFn>(winhttp, "WinHttpSetTimeouts") : nullptr;
    ResolveFn resolve = winhttp ? lookUp<ResolveFn>(winhttp, "WinHttpGetProxyForUrl") : nullptr;
    CloseFn close = winhttp ? lookUp<CloseFn>(winhttp, "WinHttpCloseHandle") : nullptr;
    if (!open || !timeouts || !resolve || !close) {
        a.available = false;
        if (winhttp) FreeLibrary(winhttp);
        return a;
    }
    const DWORD start = GetTickCount();
    HINTERNET session = open(L"brisvane hostemu", WINHTTP_ACCESS_TYPE_NO_PROXY,
                             WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0);
    if (session == nullptr) {
        a.error = GetLastError();
    } else {
        const int ms = static_cast<int>(timeoutMs);
        timeouts(session, ms, ms, ms, ms);
        const std::wstring script = wide(scriptUrl);
        WINHTTP_AUTOPROXY_OPTIONS options{};
        if (detect) {
            options.dwFlags |= WINHTTP_AUTOPROXY_AUTO_DETECT;
            options.dwAutoDetectFlags =
                WINHTTP_AUTO_DETECT_TYPE_DHCP | WINHTTP_AUTO_DETECT_TYPE_DNS_A;
        }
        if (!scriptUrl.empty()) {
            options.dwFlags |= WINHTTP_AUTOPROXY_CONFIG_URL;
            options.lpszAutoConfigUrl = script.c_str();
        }
        options.fAutoLogonIfChallenged = TRUE;
        WINHTTP_PROXY_INFO info{};
        if (resolve(session, wide(url).c_str(), &options, &info)) {
            a.found = true;
            if (info.dwAccessType == WINHTTP_ACCESS_TYPE_NAMED_PROXY && info.lpszProxy) {
                a.proxy = narrow(info.lpszProxy);
            }
        } else {
            a.error = GetLastError();
        }
        if (info.lpszProxy) GlobalFree(info.lpszProxy);
        if (info.lpszProxyBypass) GlobalFree(info.lpszProxyBypass);
        close(session);
    }
    a.ms = GetTickCount() - start;
    FreeLibrary(winhttp);
    return a;
}
