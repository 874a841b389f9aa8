// The replay's run on a fake machine: what it says and returns at each way
// out, and that each call is made with its conf.xml, its recorded requests and
// a judgement of what it wrote.
#include <gtest/gtest.h>

#include <map>

#include "SampleLog.h"
#include "cli/Output.h"
#include "replay/ReplayRun.h"

namespace {

// A DLL that writes the recorded entries of each call again, or `written`.
struct FakeHost : replay::ReplayHost {
    bool ready = true;
    bool hasExport = true;
    std::string written;  // empty: the recorded entries
    std::map<std::string, std::string> files;
    std::vector<int> calls;

    bool prepare(std::string& complaint) override {
        if (!ready) complaint = "cannot make a scratch folder";
        return ready;
    }
    std::string dllPath() const override { return "D\\brisvane.dll"; }
    std::string pathOf(const char* name) const override { return std::string("S\\") + name; }
    bool writeFile(const std::string& path, const std::string& bytes) override {
        files[path] = bytes;
        return true;
    }
    void removeFile(const std::string& path) override { files.erase(path); }
    long long fileSize(const std::string& path) override {
        return files.count(path) ? static_cast<long long>(files[path].size()) : 0;
    }
    std::string readFrom(const std::string& path, long long offset) override {
        return files[path].substr(static_cast<std::size_t>(offset));
    }
    std::optional<int32_t> call(const replay::Call& call) override {
        if (!hasExport) return std::nullopt;
        calls.push_back(call.number);
        files["S\\brisvane.log"] += written.empty()
                                        ? std::string(kLookupLog + call.entries.front().begin,
                                                      kLookupLog + call.entries.back().end)
                                        : written;
        return call.result;
    }
};

// A service that receives what the log recorded.
struct FakeService : replay::ReplayService {
    bool starts = true;
    std::string proxy;
    std::string started;
    std::vector<std::string> began;  // per call: its paths and where its log starts
    std::vector<replay::Attempt> pending;

    bool start(const std::string& first, std::string& error) override {
        started = first;
        if (!starts) error = "no free address from " + first;
        return starts;
    }
    const std::string& address() const override {
        static const std::string address = "127.0.9.9";
        return address;
    }
    std::string proxyProblem() override { return proxy; }
    void beginCall(const std::vector<replay::Attempt>& attempts, const std::string& logPath,
                   long long logOffset) override {
        std::string seen = logPath + "@" + std::to_string(logOffset);
        for (const replay::Attempt& a : attempts) seen += " " + a.path;
        began.push_back(seen);
        pending = attempts;
    }
    std::vector<replay::Received> endCall() override {
        std::vector<replay::Received> received;
        for (const replay::Attempt& a : pending) received.push_back({a.path, a.body});
        pending.clear();
        return received;
    }
};

}  // namespace

TEST(ReplayRun, SaysAndReturnsWhatHappened) {
    const std::string replaying =
        "Replaying L (1 call) through D\\brisvane.dll; the service's recorded replies come "
        "from http://127.0.9.9:80\n";
    struct Case {
        const char* name;
        std::string log;
        long long onlyCall;
        bool ready, starts, hasExport;
        std::string proxy, written;
        int status;
        std::string out, err;
    };
    const Case cases[] = {
        {"same", kLookupLog, 0, true, true, true, "", "", 0,
         replaying + "call 1  GetCardInfoEx(1001)  result 0: same\n" +
             "1 call: 1 same, 0 differ, 0 not replayable\n",
         ""},
        {"only that call", kLookupLog, 1, true, true, true, "", "", 0,
         replaying + "call 1  GetCardInfoEx(1001)  result 0: same\n" +
             "1 call: 1 same, 0 differ, 0 not replayable\n",
         ""},
        {"differs", kLookupLog, 0, true, true, true, "",
         "[12-07-2026 10:00:00] GetCardInfoEx : x\n", 1,
         replaying +
             "call 1  GetCardInfoEx(1001)  result 0: DIFFERS: log entry 1 of the call differs:\n"
             "      recorded \"GetCardInfoEx : GetCardInfoEx from File1 Started!\"\n"
             "      replayed \"GetCardInfoEx : x\"\n"
             "1 call: 0 same, 1 differ, 0 not replayable\n",
         ""},
        {"no call", "", 0, true, true, true, "", "", 2, "",
         "hostemu: nothing to replay in L: the file is empty\n"},
        {"no such call", kLookupLog, 2, true, true, true, "", "", 2, "",
         "hostemu: the log holds 1 call; there is no call 2\n"},
        {"no scratch folder", kLookupLog, 0, false, true, true, "", "", 3, "",
         "hostemu: cannot make a scratch folder\n"},
        {"no address", kLookupLog, 0, true, false, true, "", "", 3, "",
         "hostemu: no free address from 127.0.1.1\n"},
        {"a proxy", kLookupLog, 0, true, true, true, "a proxy is in the way", "", 3, "",
         "hostemu: a proxy is in the way\n"},
        {"no export", kLookupLog, 0, true, true, false, "", "", 3, replaying,
         "hostemu: D\\brisvane.dll has no export GetCardInfoEx\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        replay::ReplayRequest request;
        request.logFile = "L";
        request.logBytes = c.log;
        request.folderConfig = "<Configuration/>";
        request.folderHasConfig = true;
        request.onlyCall = c.onlyCall;
        request.firstAddress = "127.0.1.1";
        FakeHost host;
        host.ready = c.ready;
        host.hasExport = c.hasExport;
        host.written = c.written;
        FakeService service;
        service.starts = c.starts;
        service.proxy = c.proxy;
        StringOutput out;
        EXPECT_EQ(replay::runReplay(request, host, service, out), c.status);
        EXPECT_EQ(out.outText(), c.out);
        EXPECT_EQ(out.errText(), c.err);
        // The service starts only for a log with that call and once the DLL is there.
        EXPECT_EQ(service.started.empty(), c.status == 2 || !c.ready);
        if (c.status == 0 || c.status == 1) {
            EXPECT_EQ(host.calls, std::vector<int>{1});
            EXPECT_EQ(host.files["S\\conf.xml"], "<Configuration/>");
            EXPECT_EQ(service.began, std::vector<std::string>{"S\\brisvane.log@0 v1/GuestInfo/t"});
        }
    }
}

// The run in Russian through the sink: the log's lines and the request bodies
// stay as they are, the rest follows the reader's language.
TEST(ReplayRun, SpeaksTheReadersLanguage) {
    struct Case {
        const char* name;
        std::string log;
        long long onlyCall;
        bool folderHasConfig;
        std::string written;
        int status;
        std::string out, err;
    };
    const std::string replaying =
        "Повтор L (1 вызов) через D\\brisvane.dll; записанные ответы сервера программы "
        "лояльности отдаются с http://127.0.9.9:80\n";
    const Case cases[] = {
        {"same", kLookupLog, 0, true, "", 0,
         replaying + "вызов 1  GetCardInfoEx(1001)  результат 0: совпадает\n" +
             "1 вызов: совпадают — 1, расходятся — 0, повторить нельзя — 0\n",
         ""},
        {"a differing entry", kLookupLog, 0, true, "[12-07-2026 10:00:00] GetCardInfoEx : x\n", 1,
         replaying +
             "вызов 1  GetCardInfoEx(1001)  результат 0: РАСХОДИТСЯ: запись журнала 1 этого "
             "вызова отличается:\n"
             "      в журнале           \"GetCardInfoEx : GetCardInfoEx from File1 Started!\"\n"
             "      при воспроизведении \"GetCardInfoEx : x\"\n"
             "1 вызов: совпадают — 0, расходятся — 1, повторить нельзя — 0\n",
         ""},
        {"no conf.xml anywhere", kLookupLog, 0, false, "", 2,
         replaying + "вызов 1  GetCardInfoEx: повторить нельзя: нет conf.xml: в журнале нет его "
                     "копии из Init, и в папке его тоже нет\n"
                     "1 вызов: совпадают — 0, расходятся — 0, повторить нельзя — 1\n",
         ""},
        {"no call", "", 0, true, "", 2, "", "hostemu: в L нечего повторять: файл пуст\n"},
        {"no such call", kLookupLog, 5, true, "", 2, "",
         "hostemu: в журнале 1 вызов; вызова 5 в нём нет\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        replay::ReplayRequest request;
        request.logFile = "L";
        request.logBytes = c.log;
        request.folderConfig = c.folderHasConfig ? "<Configuration/>" : "";
        request.folderHasConfig = c.folderHasConfig;
        request.onlyCall = c.onlyCall;
        FakeHost host;
        host.written = c.written;
        FakeService service;
        StringOutput out(kRussianCatalog);
        EXPECT_EQ(replay::runReplay(request, host, service, out), c.status);
        EXPECT_EQ(out.outText(), c.out);
        EXPECT_EQ(out.errText(), c.err);
    }
}
