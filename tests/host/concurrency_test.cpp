// A host that breaks the one-call-at-a-time rule: two threads calling the
// real DLL at once (Init among the calls) must get exactly what they would get
// one after the other. The host records when each call began and returned, so
// the test knows that calls did overlap and the lock had something to do.
#include <gmock/gmock.h>
#include <winsock2.h>  // windows.h in the order Winsock needs (HostRig.h)

#include <functional>
#include <regex>
#include <string>
#include <vector>

#include "FakeLoyalty.h"
#include "HostRig.h"
#include "record/CardInfoRecord.h"

using namespace hostrig;

namespace {

constexpr int kRounds = 12;

std::string guestReply(const std::string& lastName, const std::string& clientId) {
    return R"({\"Status\":1,\"NotPayType\":0,\"ClientId\":\")" + clientId +
           R"(\",\"LoyaltyLevel\":\"L\",\"DiscountId\":1,\"BonusId\":2,\"BonusBalance\":\"5\",)"
           R"(\"LastName\":\")" +
           lastName + R"(\",\"FirstName\":\"F\",\"MiddleName\":\"M\"})";
}

std::string lookupCheck(int orderCategory) {
    return "<CHECK restaurantcode=\"7\" chmode=\"0\"></CHECK><CHECKDATA orderguid=\"g" +
           std::to_string(orderCategory) + "\" checknum=\"5\" order_cat=\"" +
           std::to_string(orderCategory) + "\"></CHECKDATA>";
}

const std::string kCloseCheck =
    "<INTERFACES><INTERFACE interface=\"12\"/></INTERFACES>"
    "<CHECK restaurantcode=\"7\" chmode=\"1\"></CHECK>"
    "<CHECKDATA orderguid=\"g2\" checknum=\"6\" order_cat=\"2\" closedatetime=\"2026-01-02 "
    "10:00:00\">"
    "<CHECKLINES><LINE type=\"dish\" id=\"1\" name=\"Soup\" quantity=\"1\" price=\"3\" sum=\"3\" "
    "servprint_id=\"1\" servprint=\"K\"/>"
    "</CHECKLINES><CHECKPAYMENTS><PAYMENT code=\"5\" account=\"42\" interface=\"12\" sum=\"1\"/>"
    "</CHECKPAYMENTS></CHECKDATA>";

class ConcurrencyTest : public HostTest {};

// When one call of the host began and returned, and what it was.
struct Span {
    long long begin, end;
    bool init;
};
long long now() {
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return t.QuadPart;
}
// Pairs of calls of the two threads that were in the DLL at the same time
// (all of them, and those where one is Init).
std::pair<int, int> overlaps(const std::vector<Span>& a, const std::vector<Span>& b) {
    int all = 0, withInit = 0;
    for (const Span& x : a)
        for (const Span& y : b)
            if (x.begin < y.end && y.begin < x.end) {
                ++all;
                withInit += x.init || y.init;
            }
    return {all, withInit};
}

// A host thread made with CreateThread (the win32 thread model has no
// std::thread), joined on destruction.
class HostThread {
  public:
    explicit HostThread(std::function<void()> body) : body_(std::move(body)) {
        handle_ = CreateThread(nullptr, 0, &HostThread::run, this, 0, nullptr);
    }
    ~HostThread() { join(); }
    HostThread(const HostThread&) = delete;
    HostThread& operator=(const HostThread&) = delete;

    bool started() const { return handle_ != nullptr; }
    void join() {
        if (handle_ == nullptr) return;
        WaitForSingleObject(handle_, INFINITE);
        CloseHandle(handle_);
        handle_ = nullptr;
    }

  private:
    static DWORD WINAPI run(LPVOID self) {
        static_cast<HostThread*>(self)->body_();
        return 0;
    }
    std::function<void()> body_;
    HANDLE handle_ = nullptr;
};

// The calls' entries in the log must not interleave: every start is followed by
// its own end before the next call starts.
std::vector<std::string> interleavings(const std::string& log) {
    static const std::regex start(
        R"((GetCardInfoEx : GetCardInfoEx from File1 Started!|TransactionsEx : Started|Init : Started))");
    static const std::regex end(
        R"((Ended successfully! RETURN 0|Ended RETURN 0|RETURNS? \d|Init : Ended))");
    std::vector<std::string> problems;
    bool open = false;
    std::size_t pos = 0, lineNo = 0;
    while (pos < log.size()) {
        std::size_t eol = log.find('\n', pos);
        if (eol == std::string::npos) eol = log.size();
        const std::string line = log.substr(pos, eol - pos);
        ++lineNo;
        if (std::regex_search(line, start)) {
            if (open) problems.push_back("line " + std::to_string(lineNo) + ": " + line);
            open = true;
        } else if (std::regex_search(line, end)) {
            open = false;
        }
        pos = eol + 1;
    }
    return problems;
}

TEST_F(ConcurrencyTest, TwoThreadsCallingAtOnceGetSerializedCallsWithTheirOwnAnswers) {
    fakeloyalty::Service service(BRISVANE_FAKE_ADDRESS);
    const std::string tokenA = fakeloyalty::uniqueToken("concA");
    const std::string tokenB = fakeloyalty::uniqueToken("concB");
    // Every answer takes a while, so the two threads' exchanges would overlap.
    service.setScenario(tokenA, R"({"GuestInfo": {"delay_ms": 15, "body": ")" +
                                    guestReply("Alpha", "101") + "\"}}");
    service.setScenario(tokenB,
                        R"({"GuestInfo": {"delay_ms": 15, "body": ")" + guestReply("Bravo", "202") +
                            R"("}, "GetDiscount": {"delay_ms": 15, "body": "{\"Status\":1}"},)"
                            R"( "CloseOrder": {"delay_ms": 15, "body": "{\"Status\":1}"}})");
    writeFile("conf.xml",
              logtext::confXml(BRISVANE_FAKE_ADDRESS,
                               logtext::place("1", tokenA) + logtext::place("2", tokenB),
                               logtext::account("BonusAccount", 5, 2)));
    loadDll();

    // Both threads wait for one manual-reset event, so they start together.
    HANDLE go = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    ASSERT_NE(go, nullptr);
    auto startTogether = [&] { WaitForSingleObject(go, INFINITE); };
    struct Outcome {
        std::vector<int32_t> results;
        std::vector<uint32_t> removed;
        std::vector<std::string> owners;
        std::vector<Span> spans;
        std::vector<int32_t> inits;
    };
    Outcome a, b;
    const std::string checkA = lookupCheck(1), checkB = lookupCheck(2);

    HostThread threadA([&] {
        startTogether();
        for (int i = 0; i < 2 * kRounds; ++i) {
            if (i % 3 == 1) {
                const long long begin = now();
                a.inits.push_back(dll_->init().result);
                a.spans.push_back({begin, now(), true});
            }
            CardInfoRecord record{};
            const long long begin = now();
            CallResult r = dll_->getCardInfoEx(79000000001LL, &record, checkA.c_str(),
                                               static_cast<uint32_t>(checkA.size()));
            a.spans.push_back({begin, now(), false});
            a.results.push_back(r.result);
            a.removed.push_back(r.removed);
            a.owners.push_back(record.Card_owner);
        }
    });
    HostThread threadB([&] {
        startTogether();
        for (int i = 0; i < kRounds; ++i) {
            CardInfoRecord record{};
            long long begin = now();
            CallResult r = dll_->getCardInfoEx(79000000002LL, &record, checkB.c_str(),
                                               static_cast<uint32_t>(checkB.size()));
            b.spans.push_back({begin, now(), false});
            b.results.push_back(r.result);
            b.removed.push_back(r.removed);
            b.owners.push_back(record.Card_owner);
            begin = now();
            CallResult t = dll_->transactionsEx(kCloseCheck.c_str(),
                                                static_cast<uint32_t>(kCloseCheck.size()));
            b.spans.push_back({begin, now(), false});
            b.results.push_back(t.result);
            b.removed.push_back(t.removed);
        }
    });
    SetEvent(go);
    ASSERT_TRUE(threadA.started() && threadB.started());
    threadA.join();
    threadB.join();
    CloseHandle(go);

    // Without calls that overlapped, the lock would have had nothing to do.
    const auto [together, withInit] = overlaps(a.spans, b.spans);
    EXPECT_GT(together, 0) << "no two calls were in the DLL at once";
    EXPECT_GT(withInit, 0) << "no Init ran while the other thread was in a call";
    EXPECT_THAT(a.inits, ::testing::ElementsAreArray(std::vector<int32_t>(8, 0)));
    EXPECT_THAT(a.results, ::testing::Each(0));
    EXPECT_THAT(b.results, ::testing::Each(0));
    EXPECT_THAT(a.owners, ::testing::Each(std::string("Alpha F M")));
    EXPECT_THAT(b.owners, ::testing::Each(std::string("Bravo F M")));
    EXPECT_EQ(a.removed.size(), 2u * kRounds);
    EXPECT_THAT(a.removed, ::testing::Each(44u));
    for (std::size_t i = 0; i < b.removed.size(); ++i) EXPECT_EQ(b.removed[i], i % 2 ? 32u : 44u);

    // The service saw every request whole, each on the token of its thread.
    int closes = 0, guestB = 0;
    for (const auto& req : service.requests(tokenB)) {
        closes += req.path == "/v1/CloseOrder/" + tokenB;
        guestB += req.path == "/v1/GuestInfo/" + tokenB;
        EXPECT_FALSE(req.clientClosed) << req.path;
    }
    EXPECT_EQ(closes, kRounds);
    EXPECT_EQ(guestB, kRounds);
    EXPECT_EQ(service.requests(tokenA).size(), 2u * kRounds);

    EXPECT_THAT(interleavings(logText()), ::testing::IsEmpty());
}

}  // namespace
