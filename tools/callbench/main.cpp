// What a call through brisvane.dll costs over the least any implementation must
// spend: per case, medians over N calls of the exported call against two
// floors. The bare floor: a WinInet POST of each body the call sent (same
// service, same bodies) plus one open-append-close write per log entry the
// call wrote, of the same bytes. The full floor adds every other piece of I/O
// that brisvane.dll does on every call: each POST's send on a fresh worker thread
// waited for with a time limit, the empty-and-close of init.txt at that
// thread's start and end (the entry routine runs for every thread), reading
// conf.xml, the debug copy of the parsed check where the check's shape calls
// for one, and for a posting the look at the log's size. Calls and floors
// alternate so that all see the same noise; with a load file (under Wine,
// Z:\proc\loadavg) every line ends with the machine's load average.
//   callbench <brisvane.dll> <service address> [count] [load file]
// Run it in a scratch folder: it writes conf.xml, brisvane.log, floor.log,
// floor-conf.xml, floor-debug.txt and init.txt.
#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "LogText.h"
#include "host/DllModule.h"
#include "http/Endpoint.h"
#include "log/LogEvents.h"
#include "log/LogFormat.h"
#include "record/CardInfoRecord.h"

namespace {

constexpr int64_t kPhone = 79161234567LL;
const char* const kAccept[] = {"*/*", nullptr};
const char kHeaders[] = "Content-Type:application/json;";
const char kDebugCopy[] = "inputBuf_checkdata_after_check.txt";

double nowUs() {
    static LARGE_INTEGER freq = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) * 1e6 / static_cast<double>(freq.QuadPart);
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

long long fileSize(const char* name) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(name, GetFileExInfoStandard, &data)) return 0;
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

std::string readFrom(const char* name, long long offset) {
    std::ifstream in(name, std::ios::binary);
    in.seekg(offset);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeFile(const char* name, const std::string& text) {
    std::ofstream(name, std::ios::binary | std::ios::trunc) << text;
}

// The log text split into its entries, each starting "[MM-DD-YYYY HH:MM:SS] ".
std::vector<std::string> entries(const std::string& log) {
    const std::vector<std::size_t> starts = logtext::logEntryStarts(log);
    std::vector<std::string> out;
    for (std::size_t i = 0; i < starts.size(); ++i)
        out.push_back(log.substr(starts[i],
                                 (i + 1 < starts.size() ? starts[i + 1] : log.size()) - starts[i]));
    if (!starts.empty() && starts[0] != 0) out[0] = log.substr(0, starts[0]) + out[0];
    return out;
}

// One bare exchange: request handle, send, read to the end, close.
bool barePost(HINTERNET connection, const std::string& path, const std::string& body) {
    HINTERNET request = HttpOpenRequestA(connection, "POST", path.c_str(), nullptr, nullptr,
                                         const_cast<LPCSTR*>(kAccept), 0, 1);
    if (!request) return false;
    bool ok =
        HttpSendRequestA(request, kHeaders, static_cast<DWORD>(-1), const_cast<char*>(body.data()),
                         static_cast<DWORD>(body.size())) != FALSE;
    char buf[4096];
    DWORD got = 0;
    while (ok && InternetReadFile(request, buf, sizeof buf, &got) && got > 0) {
    }
    InternetCloseHandle(request);
    return ok;
}

// The same, with the send on a short-lived worker thread that is waited for
// with a time limit, as brisvane.dll sends: shows what that costs.
struct SendJob {
    HINTERNET request;
    const std::string* body;
};

// brisvane.dll's entry routine empties init.txt on every notification, so also
// when a worker thread starts and when it ends.
void truncateMarker() {
    HANDLE f = CreateFileA("init.txt", GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f != INVALID_HANDLE_VALUE) CloseHandle(f);
}

DWORD WINAPI sendJob(LPVOID param) {
    truncateMarker();
    auto* job = static_cast<SendJob*>(param);
    const DWORD code = HttpSendRequestA(job->request, kHeaders, static_cast<DWORD>(-1),
                                        const_cast<char*>(job->body->data()),
                                        static_cast<DWORD>(job->body->size()))
                           ? 0
                           : 1;
    truncateMarker();
    return code;
}

bool threadedPost(HINTERNET connection, const std::string& path, const std::string& body) {
    HINTERNET request = HttpOpenRequestA(connection, "POST", path.c_str(), nullptr, nullptr,
                                         const_cast<LPCSTR*>(kAccept), 0, 1);
    if (!request) return false;
    SendJob job{request, &body};
    HANDLE thread = CreateThread(nullptr, 0, sendJob, &job, 0, nullptr);
    WaitForSingleObject(thread, 60000);
    DWORD code = 1;
    GetExitCodeThread(thread, &code);
    CloseHandle(thread);
    char buf[4096];
    DWORD got = 0;
    while (code == 0 && InternetReadFile(request, buf, sizeof buf, &got) && got > 0) {
    }
    InternetCloseHandle(request);
    return code == 0;
}

// "load 1.23 1.10 0.95" from a /proc/loadavg-style file, read when a figure is
// printed; "load ?" without one.
std::string loadAverage(const char* file) {
    if (file == nullptr) return "load ?";
    std::ifstream in(file);
    std::string one, five, fifteen;
    if (!(in >> one >> five >> fifteen)) return "load ?";
    return "load " + one + " " + five + " " + fifteen;
}

struct Exchange {
    std::string path;
    std::string body;
};

// The floor of one call: its exchanges bare, and its log entries as bare
// appends; the full floor adds the rest of the call's mandated I/O.
double floorOnce(const std::string& address, const std::vector<Exchange>& exchanges,
                 const std::vector<std::string>& logEntries, bool full, bool posting,
                 const std::string* debugCopy) {
    const double t0 = nowUs();
    if (full && debugCopy != nullptr) {
        // The debug copy of the parsed check that this check's shape (CHECKDATA
        // after CHECK) calls for, same bytes.
        HANDLE f = CreateFileA("floor-debug.txt", GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                               CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD written = 0;
        WriteFile(f, debugCopy->data(), static_cast<DWORD>(debugCopy->size()), &written, nullptr);
        CloseHandle(f);
    }
    if (full) {
        // conf.xml read whole, as every working call does (a copy of the same
        // text, so the module's own file is not held open here).
        HANDLE f = CreateFileA("floor-conf.xml", GENERIC_READ, FILE_SHARE_READ, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        char buf[4096];
        DWORD got = 0;
        while (f != INVALID_HANDLE_VALUE && ReadFile(f, buf, sizeof buf, &got, nullptr) &&
               got > 0) {
        }
        if (f != INVALID_HANDLE_VALUE) CloseHandle(f);
        if (posting) {
            // The posting's look at the log's size before it decides to clear it.
            HANDLE log = CreateFileA("floor.log", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                     nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
            LARGE_INTEGER size;
            if (log != INVALID_HANDLE_VALUE) {
                GetFileSizeEx(log, &size);
                CloseHandle(log);
            }
        }
    }
    HINTERNET root = InternetOpenA(kUserAgent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
    HINTERNET connection =
        InternetConnectA(root, address.c_str(), 80, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 1);
    for (const Exchange& e : exchanges)
        full ? threadedPost(connection, e.path, e.body) : barePost(connection, e.path, e.body);
    InternetCloseHandle(connection);
    InternetCloseHandle(root);
    for (const std::string& entry : logEntries) {
        HANDLE f = CreateFileA("floor.log", FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD written = 0;
        WriteFile(f, entry.data(), static_cast<DWORD>(entry.size()), &written, nullptr);
        CloseHandle(f);
    }
    return nowUs() - t0;
}

struct Case {
    const char* name;
    const char* token;
    bool posting;
    std::string check;
    std::vector<Exchange> exchanges;  // paths and bodies, as the DLL sent them
    bool hasDebugCopy = false;        // whether the call wrote its debug copy
    std::string debugCopy;
};

std::string conf(const std::string& address, const std::string& token) {
    return "<Configuration><ApiAddress>" + address +
           "</ApiAddress><SSL>false</SSL>"
           "<PlaceOfService><PlaceCode>1</PlaceCode><LoyltyApiToken Default=\"true\">" +
           token +
           "</LoyltyApiToken></PlaceOfService><BonusAccount><CurrencyCode>5</CurrencyCode>"
           "<CardSubAccount>2</CardSubAccount></BonusAccount><DepositAccount><CurrencyCode>6"
           "</CurrencyCode><CardSubAccount>3</CardSubAccount></DepositAccount></Configuration>";
}

std::string check(int mode, bool payment) {
    return std::string(
               "<INTERFACES><INTERFACE interface=\"12\"/></INTERFACES><CHECK restaurantcode=\"7\" "
               "chmode=\"") +
           std::to_string(mode) +
           "\"></CHECK><CHECKDATA orderguid=\"{0A1B}\" checknum=\"15\" order_cat=\"1\" "
           "closedatetime=\"2026-01-02 10:00:00\"><CHECKLINES><LINE type=\"dish\" id=\"11\" "
           "name=\"Soup\" quantity=\"2\" price=\"3.5\" sum=\"7\" servprint_id=\"1\" "
           "servprint=\"Kitchen\"/></CHECKLINES><CHECKPAYMENTS>" +
           (payment ? "<PAYMENT code=\"5\" account=\"77\" interface=\"12\" sum=\"1.5\"/>" : "") +
           "<PAYMENT code=\"1\" sum=\"5.5\"/></CHECKPAYMENTS></CHECKDATA>";
}

struct Dll {
    GetCardInfoExFn lookup;
    TransactionsExFn posting;
};

int32_t callOnce(const Dll& dll, const Case& c) {
    CardInfoRecord record{};
    return c.posting ? dll.posting(0, 0, c.check.c_str(), static_cast<uint32_t>(c.check.size()), 0,
                                   nullptr, 0, 0)
                     : dll.lookup(kPhone, 0, 0, &record, c.check.c_str(),
                                  static_cast<uint32_t>(c.check.size()), 0, nullptr, 0, 0);
}

// The exchanges a call makes, read back from its log: each request's path and
// body appear in the "TRY SEND REQUEST TO <path> WITH <body>" entry.
std::vector<Exchange> exchangesOf(const std::string& log) {
    std::vector<Exchange> out;
    const std::string marker(logevent::fixedParts(logevent::Event::TrySend)[0]);
    const std::string separator(logevent::fixedParts(logevent::Event::TrySend)[1]);
    for (std::size_t p = log.find(marker); p != std::string::npos; p = log.find(marker, p + 1)) {
        const std::size_t start = p + marker.size();
        const std::size_t with = log.find(separator, start);
        const std::size_t from = with + separator.size();
        const std::size_t eol = log.find_first_of("\r\n", with);
        out.push_back({log.substr(start, with - start), log.substr(from, eol - from)});
    }
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: callbench <brisvane.dll> <service address> [count]\n");
        return 2;
    }
    const std::string address = argv[2];
    const int count = argc > 3 ? std::atoi(argv[3]) : 200;
    const char* loadFile = argc > 4 ? argv[4] : nullptr;
    const DllModule module(argv[1]);
    if (!module.loaded()) {
        std::fprintf(stderr, "callbench: cannot load %s (%lu)\n", argv[1], GetLastError());
        return 1;
    }
    const Dll dll{module.proc<GetCardInfoExFn>(kGetCardInfoExExport),
                  module.proc<TransactionsExFn>(kTransactionsExExport)};

    std::vector<Case> cases = {
        {"guest-only GetCardInfoEx", "bench-guest", false, check(0, false), {}, false, {}},
        {"guest+discount GetCardInfoEx", "bench-discount", false, check(1, false), {}, false, {}},
        {"close TransactionsEx", "bench-close", true, check(1, true), {}, false, {}},
    };
    int status = 0;
    std::printf("%-30s %9s %9s %6s %10s %8s %9s %6s  %s\n", "case (medians over calls)", "call us",
                "bare us", "ratio", "log B/call", "entries", "full us", "ratio", "load average");
    for (Case& c : cases) {
        writeFile("conf.xml", conf(address, c.token));
        writeFile("floor-conf.xml", conf(address, c.token));
        DeleteFileA("brisvane.log");
        DeleteFileA("floor.log");
        DeleteFileA(kDebugCopy);
        // Warm up, and learn what the call sends and logs.
        std::string lastLog;
        for (int i = 0; i < 10; ++i) {
            const long long before = fileSize("brisvane.log");
            if (callOnce(dll, c) != 0) {
                std::fprintf(stderr, "callbench: %s did not succeed; is the service up?\n", c.name);
                return 1;
            }
            lastLog = readFrom("brisvane.log", before);
        }
        c.exchanges = exchangesOf(lastLog);
        c.hasDebugCopy = fileSize(kDebugCopy) > 0;
        if (c.hasDebugCopy) c.debugCopy = readFrom(kDebugCopy, 0);
        std::vector<double> callUs, floorUs, workerFloorUs, growth, entryCounts;
        for (int i = 0; i < count; ++i) {
            const long long before = fileSize("brisvane.log");
            const double t0 = nowUs();
            const int32_t result = callOnce(dll, c);
            const double t1 = nowUs();
            if (result != 0) status = 1;
            const std::string logged = readFrom("brisvane.log", before);
            const std::vector<std::string> logEntries = entries(logged);
            callUs.push_back(t1 - t0);
            growth.push_back(static_cast<double>(logged.size()));
            entryCounts.push_back(static_cast<double>(logEntries.size()));
            const std::string* debugCopy = c.hasDebugCopy ? &c.debugCopy : nullptr;
            floorUs.push_back(
                floorOnce(address, c.exchanges, logEntries, false, c.posting, debugCopy));
            workerFloorUs.push_back(
                floorOnce(address, c.exchanges, logEntries, true, c.posting, debugCopy));
        }
        const double call = median(callUs), floor = median(floorUs),
                     workerFloor = median(workerFloorUs);
        std::printf("%-30s %9.0f %9.0f %6.3f %10.0f %8.0f %9.0f %6.3f  %s (%zu exchanges)\n",
                    c.name, call, floor, call / floor, median(growth), median(entryCounts),
                    workerFloor, call / workerFloor, loadAverage(loadFile).c_str(),
                    c.exchanges.size());
    }

    // The posting's ClearTheLog looks at the log's size on every call: a log just
    // under the 10 MB limit must cost no more than an empty one.
    const Case& close = cases.back();
    writeFile("conf.xml", conf(address, close.token));
    const long long big = 9900000;
    {
        // Real text, not a sparse file: log-like lines up to just under the limit.
        const std::string line = std::string("[01-02-2026 10:00:00] ") + logtag::kTransactionsEx +
                                 logformat::kTagSeparator +
                                 logevent::format(logevent::Event::TryGetToken) + "\r\n";
        std::string text;
        text.reserve(big + line.size());
        while (text.size() < static_cast<std::size_t>(big)) text += line;
        text.resize(big);
        writeFile("big.log", text);
    }
    std::vector<double> emptyUs, bigUs;
    for (int i = 0; i < count / 2; ++i) {
        DeleteFileA("brisvane.log");
        double t0 = nowUs();
        callOnce(dll, close);
        emptyUs.push_back(nowUs() - t0);

        DeleteFileA("brisvane.log");
        MoveFileA("big.log", "brisvane.log");
        t0 = nowUs();
        callOnce(dll, close);
        bigUs.push_back(nowUs() - t0);
        if (fileSize("brisvane.log") <= big) status = 1;  // cleared: not what is measured here
        HANDLE f =
            CreateFileA("brisvane.log", GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        LARGE_INTEGER size;
        size.QuadPart = big;
        SetFilePointerEx(f, size, nullptr, FILE_BEGIN);
        SetEndOfFile(f);
        CloseHandle(f);
        MoveFileA("brisvane.log", "big.log");
    }
    std::printf(
        "TransactionsEx (close), medians over %d calls: empty log %.0f us, 9.9 MB log %.0f us "
        "(ratio %.3f)  %s\n",
        count / 2, median(emptyUs), median(bigUs), median(bigUs) / median(emptyUs),
        loadAverage(loadFile).c_str());
    return status;
}
