#include "TillProbes.h"

// clang-format off
#include <windows.h>
#include <wincrypt.h>
#include <wininet.h>
// clang-format on

#include <cstdio>
#include <cstring>
#include <vector>

#include "NetProbes.h"
#include "http/Endpoint.h"
#include "platform/Platform.h"

namespace {

// Internet Explorer 8 on: the chain WinInet built for the server (a
// duplicate, freed by the caller). Not in this SDK's headers.
constexpr DWORD kServerCertChainContext = 105;

std::string utf8(const wchar_t* text, int length = -1) {
    if (text == nullptr || length == 0) return "";
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
    if (size <= 0) return "";
    std::string out(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, length, &out[0], size, nullptr, nullptr);
    if (length < 0 && !out.empty() && out.back() == '\0') out.pop_back();
    return out;
}

RegistryNumber readNumber(HKEY root, const char* path, const char* name) {
    RegistryNumber n;
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return n;
    DWORD type = 0, value = 0, size = sizeof value;
    if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) ==
            ERROR_SUCCESS &&
        type == REG_DWORD && size == sizeof value) {
        n.present = true;
        n.value = value;
    }
    RegCloseKey(key);
    return n;
}

std::string readText(HKEY root, const char* path, const char* name, REGSAM view = 0) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path, 0, KEY_QUERY_VALUE | view, &key) != ERROR_SUCCESS) return "";
    char value[64] = {};
    DWORD type = 0, size = sizeof value - 1;
    std::string text;
    if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(value), &size) ==
            ERROR_SUCCESS &&
        type == REG_SZ)
        text.assign(value, strnlen(value, size));
    RegCloseKey(key);
    return text;
}

int64_t unixSeconds(const FILETIME& t) {
    const uint64_t ticks = (static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    if (ticks == 0) return 0;
    // 100-ns steps since 1601 -> seconds since 1970.
    return static_cast<int64_t>(ticks / 10000000ull) - 11644473600ll;
}

std::string nameText(CERT_NAME_BLOB* name) {
    const DWORD type =
        CERT_X500_NAME_STR | CERT_NAME_STR_REVERSE_FLAG | CERT_NAME_STR_NO_QUOTING_FLAG;
    const DWORD size = CertNameToStrW(X509_ASN_ENCODING, name, type, nullptr, 0);
    if (size <= 1) return "";
    std::vector<wchar_t> text(size);
    CertNameToStrW(X509_ASN_ENCODING, name, type, text.data(), size);
    return utf8(text.data());
}

// The decoded form of one of the certificate's extensions; empty when it has
// none or it cannot be decoded.
std::vector<BYTE> decodedExtension(PCCERT_CONTEXT cert, const char* oid, LPCSTR structType) {
    CERT_EXTENSION* ext =
        CertFindExtension(oid, cert->pCertInfo->cExtension, cert->pCertInfo->rgExtension);
    if (ext == nullptr) return {};
    DWORD size = 0;
    if (!CryptDecodeObject(X509_ASN_ENCODING, structType, ext->Value.pbData, ext->Value.cbData, 0,
                           nullptr, &size)) {
        return {};
    }
    std::vector<BYTE> out(size);
    if (!CryptDecodeObject(X509_ASN_ENCODING, structType, ext->Value.pbData, ext->Value.cbData, 0,
                           out.data(), &size)) {
        return {};
    }
    return out;
}

void addUrls(const CERT_ALT_NAME_INFO& names, std::vector<std::string>& into) {
    for (DWORD i = 0; i < names.cAltEntry; ++i) {
        if (names.rgAltEntry[i].dwAltNameChoice == CERT_ALT_NAME_URL) {
            into.push_back(utf8(names.rgAltEntry[i].pwszURL));
        }
    }
}

void readRevocationAddresses(PCCERT_CONTEXT cert, CertificateFacts& f) {
    std::vector<BYTE> aia =
        decodedExtension(cert, szOID_AUTHORITY_INFO_ACCESS, X509_AUTHORITY_INFO_ACCESS);
    if (!aia.empty()) {
        const auto* info = reinterpret_cast<const CERT_AUTHORITY_INFO_ACCESS*>(aia.data());
        for (DWORD i = 0; i < info->cAccDescr; ++i) {
            const CERT_ACCESS_DESCRIPTION& d = info->rgAccDescr[i];
            if (std::string(d.pszAccessMethod) == szOID_PKIX_OCSP &&
                d.AccessLocation.dwAltNameChoice == CERT_ALT_NAME_URL) {
                f.ocsp.push_back(utf8(d.AccessLocation.pwszURL));
            }
        }
    }
    std::vector<BYTE> cdp = decodedExtension(cert, szOID_CRL_DIST_POINTS, X509_CRL_DIST_POINTS);
    if (!cdp.empty()) {
        const auto* info = reinterpret_cast<const CRL_DIST_POINTS_INFO*>(cdp.data());
        for (DWORD i = 0; i < info->cDistPoint; ++i) {
            const CRL_DIST_POINT_NAME& name = info->rgDistPoint[i].DistPointName;
            if (name.dwDistPointNameChoice == CRL_DIST_POINT_FULL_NAME)
                addUrls(name.FullName, f.crl);
        }
    }
}

class NetHandle {
  public:
    explicit NetHandle(platform::NetHandle h) : h_(h) {}
    ~NetHandle() {
        if (h_) platform::closeHandle(h_);
    }
    NetHandle(const NetHandle&) = delete;
    NetHandle& operator=(const NetHandle&) = delete;
    HINTERNET get() const { return static_cast<HINTERNET>(h_); }

  private:
    platform::NetHandle h_;
};

}  // namespace

WindowsVersion readWindowsVersion() {
    WindowsVersion v;
    // GetVersionEx reports 6.2 on Windows 8.1 and later to programs without a
    // manifest naming them; ntdll's own call tells the truth.
    using GetVersionFn = LONG(WINAPI*)(OSVERSIONINFOEXW*);
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    auto getVersion = ntdll ? reinterpret_cast<GetVersionFn>(
                                  reinterpret_cast<void*>(GetProcAddress(ntdll, "RtlGetVersion")))
                            : nullptr;
    OSVERSIONINFOEXW info{};
    info.dwOSVersionInfoSize = sizeof info;
    if (getVersion && getVersion(&info) == 0) {
        v.known = true;
        v.major = info.dwMajorVersion;
        v.minor = info.dwMinorVersion;
        v.build = info.dwBuildNumber;
        v.servicePackMajor = info.wServicePackMajor;
        v.servicePack = utf8(info.szCSDVersion);
        v.server = info.wProductType != VER_NT_WORKSTATION;
    }
    using IsWow64Fn = BOOL(WINAPI*)(HANDLE, BOOL*);
    auto isWow64 = reinterpret_cast<IsWow64Fn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "IsWow64Process")));
    BOOL wow64 = FALSE;
    if (isWow64 && isWow64(GetCurrentProcess(), &wow64)) {
        v.bitnessKnown = true;
        v.windows64 = wow64 != FALSE;
    }
    return v;
}

uint32_t readInternetExplorerMajor() {
    // The 64-bit view on 64-bit Windows: the browser the dialog belongs to
    // (32-bit Windows ignores the flag).
    const char* key = "SOFTWARE\\Microsoft\\Internet Explorer";
    return internetExplorerMajor(readText(HKEY_LOCAL_MACHINE, key, "svcVersion", KEY_WOW64_64KEY),
                                 readText(HKEY_LOCAL_MACHINE, key, "Version", KEY_WOW64_64KEY));
}

AccountInfo readAccount() {
    AccountInfo a;
    wchar_t user[257];
    DWORD size = sizeof user / sizeof user[0];
    if (GetUserNameW(user, &size)) a.user = utf8(user);
    DWORD session = 0;
    if (ProcessIdToSessionId(GetCurrentProcessId(), &session)) {
        a.sessionKnown = true;
        a.session = session;
    }
    HWINSTA station = GetProcessWindowStation();
    if (station) {
        wchar_t name[256];
        DWORD needed = 0;
        if (GetUserObjectInformationW(station, UOI_NAME, name, sizeof name, &needed)) {
            a.station = utf8(name);
        }
        USEROBJECTFLAGS flags{};
        if (GetUserObjectInformationW(station, UOI_FLAGS, &flags, sizeof flags, &needed)) {
            a.stationVisible = (flags.dwFlags & WSF_VISIBLE) != 0;
        }
    }
    return a;
}

InternetOptions readInternetOptions() {
    InternetOptions o;
    DWORD state = 0, size = sizeof state;
    if (InternetQueryOptionA(nullptr, INTERNET_OPTION_CONNECTED_STATE, &state, &size)) {
        o.stateKnown = true;
        o.connectedState = state;
    }
    const char* settings = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
    const char* policy =
        "Software\\Policies\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
    o.globalOffline = readNumber(HKEY_CURRENT_USER, settings, "GlobalUserOffline");
    o.machinePolicy = readNumber(HKEY_LOCAL_MACHINE, policy, "SecureProtocols");
    o.userPolicy = readNumber(HKEY_CURRENT_USER, policy, "SecureProtocols");
    o.user = readNumber(HKEY_CURRENT_USER, settings, "SecureProtocols");
    o.machine = readNumber(HKEY_LOCAL_MACHINE, settings, "SecureProtocols");
    const char* tls11 =
        "SYSTEM\\CurrentControlSet\\Control\\SecurityProviders\\SCHANNEL\\Protocols\\TLS "
        "1.1\\Client";
    const char* tls12 =
        "SYSTEM\\CurrentControlSet\\Control\\SecurityProviders\\SCHANNEL\\Protocols\\TLS "
        "1.2\\Client";
    o.tls11Enabled = readNumber(HKEY_LOCAL_MACHINE, tls11, "Enabled");
    o.tls11DisabledByDefault = readNumber(HKEY_LOCAL_MACHINE, tls11, "DisabledByDefault");
    o.tls12Enabled = readNumber(HKEY_LOCAL_MACHINE, tls12, "Enabled");
    o.tls12DisabledByDefault = readNumber(HKEY_LOCAL_MACHINE, tls12, "DisabledByDefault");
    const ProxySetting proxy = readProxySetting();
    o.autoDetect = proxy.autoDetect;
    o.autoConfigUrl = proxy.autoConfigUrl;
    return o;
}

ClockReading readClock(const std::string& dateHeader, const Catalog& catalog) {
    ClockReading c;
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    c.utcNow = unixSeconds(now);
    TIME_ZONE_INFORMATION zone;
    const DWORD which = GetTimeZoneInformation(&zone);
    if (which != TIME_ZONE_ID_INVALID) {
        const LONG bias = zone.Bias + (which == TIME_ZONE_ID_DAYLIGHT   ? zone.DaylightBias
                                       : which == TIME_ZONE_ID_STANDARD ? zone.StandardBias
                                                                        : 0);
        c.offsetMinutes = -bias;
    }
    c.localTime = formatMessage(catalog, Msg::check_local_time,
                                {{"time", localNow(catalog.language, DateParts::Second)}});
    c.dateHeader = dateHeader;
    return c;
}

CertificateFacts readCertificate(const std::string& host, uint32_t timeoutMs) {
    CertificateFacts f;
    const char* const accept[] = {"*/*", nullptr};
    NetHandle root(platform::internetOpen(kUserAgent));
    NetHandle connection(root.get() ? platform::internetConnect(root.get(), host, servicePort(true))
                                    : nullptr);
    NetHandle request(connection.get()
                          ? platform::openRequest(connection.get(), "HEAD", "/", accept, true)
                          : nullptr);
    if (request.get() == nullptr) {
        f.error = GetLastError();
        return f;
    }
    platform::setRequestTimeouts(request.get(), timeoutMs);
    DWORD flags = 0, size = sizeof flags;
    InternetQueryOptionA(request.get(), INTERNET_OPTION_SECURITY_FLAGS, &flags, &size);
    flags |= SECURITY_FLAG_IGNORE_REVOCATION | SECURITY_FLAG_IGNORE_UNKNOWN_CA |
             SECURITY_FLAG_IGNORE_CERT_CN_INVALID | SECURITY_FLAG_IGNORE_CERT_DATE_INVALID |
             SECURITY_FLAG_IGNORE_WRONG_USAGE;
    InternetSetOptionA(request.get(), INTERNET_OPTION_SECURITY_FLAGS, &flags, sizeof flags);
    if (!platform::sendRequest(request.get(), nullptr, "", 0)) {
        f.error = platform::lastError();
        // Every certificate problem is looked past here: any other failure
        // may have come before the handshake was done.
        if (!certificateArrived(f.error)) return f;
    }

    PCCERT_CHAIN_CONTEXT chain = nullptr;
    size = sizeof chain;
    if (InternetQueryOptionA(request.get(), kServerCertChainContext, &chain, &size) && chain &&
        chain->cChain > 0 && chain->rgpChain[0]->cElement > 0) {
        PCCERT_CONTEXT leaf = chain->rgpChain[0]->rgpElement[0]->pCertContext;
        const CERT_SIMPLE_CHAIN* last = chain->rgpChain[chain->cChain - 1];
        PCCERT_CONTEXT top = last->rgpElement[last->cElement - 1]->pCertContext;
        f.seen = true;
        f.subject = nameText(&leaf->pCertInfo->Subject);
        f.issuer = nameText(&leaf->pCertInfo->Issuer);
        f.topIssuer = nameText(&top->pCertInfo->Issuer);
        for (DWORD i = 0; i < chain->cChain; ++i) f.chainLength += chain->rgpChain[i]->cElement;
        f.notBefore = unixSeconds(leaf->pCertInfo->NotBefore);
        f.notAfter = unixSeconds(leaf->pCertInfo->NotAfter);
        readRevocationAddresses(leaf, f);
        CertFreeCertificateChain(chain);
        return f;
    }
    // Before Internet Explorer 8 WinInet hands out the certificate's texts only.
    INTERNET_CERTIFICATE_INFO info{};
    size = sizeof info;
    if (InternetQueryOptionA(request.get(), INTERNET_OPTION_SECURITY_CERTIFICATE_STRUCT, &info,
                             &size)) {
        f.seen = true;
        if (info.lpszSubjectInfo) f.subject = info.lpszSubjectInfo;
        if (info.lpszIssuerInfo) f.issuer = info.lpszIssuerInfo;
        f.notBefore = unixSeconds(info.ftStart);
        f.notAfter = unixSeconds(info.ftExpiry);
        f.chainUnavailable = true;
        for (LPSTR text : {info.lpszSubjectInfo, info.lpszIssuerInfo, info.lpszProtocolName,
                           info.lpszSignatureAlgName, info.lpszEncryptionAlgName}) {
            if (text) LocalFree(text);
        }
    }
    return f;
}

RevocationAnswer askRevocationServer(const std::string& kind, const std::string& url,
                                     uint32_t timeoutMs) {
    RevocationAnswer a;
    a.kind = kind;
    a.url = url;
    a.tried = url.compare(0, 7, "http://") == 0 || url.compare(0, 7, "HTTP://") == 0;
    if (!a.tried) return a;
    const DWORD start = GetTickCount();
    NetHandle root(platform::internetOpen(kUserAgent));
    if (root.get() == nullptr) {
        a.error = GetLastError();
        return a;
    }
    platform::setRequestTimeouts(root.get(), timeoutMs);
    NetHandle request(InternetOpenUrlA(root.get(), url.c_str(), nullptr, 0,
                                       INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE |
                                           INTERNET_FLAG_PRAGMA_NOCACHE | INTERNET_FLAG_NO_UI,
                                       0));
    if (request.get() == nullptr) {
        a.error = GetLastError();
    } else {
        a.answered = true;
        a.status = platform::httpStatus(request.get());
    }
    a.ms = GetTickCount() - start;
    return a;
}

uint32_t tickMs() { return GetTickCount(); }
