#include <gmock/gmock.h>

#include <cstring>
#include <vector>

#include "HostRig.h"

using namespace hostrig;
using ::testing::HasSubstr;

namespace {

class ExportsTest : public HostTest {};

const char kConf[] =
    "<Configuration>\n  <ApiAddress>127.0.0.2</ApiAddress>\n  <SSL>false</SSL>\n"
    "</Configuration>\n";

std::string initEntries(const std::string& conf) {
    std::string confText;
    for (char c : conf) confText += (c == '\n') ? kEol : std::string(1, c);
    return "[S] Init : Started" + kEol + "[S] Init : ****************" + kEol + kEol +
           "brisvane.dll started!" + kEol + kEol + "****************" + kEol +
           "[S] Init : CURRENT VERSION: 37" + kEol + "[S] WriteConfToLog : " + confText + kEol +
           "[S] Init : Ended" + kEol;
}

TEST_F(ExportsTest, ExactlyThreePlainNamedExports) {
    loadDll();
    EXPECT_NE(dll_->proc("Init"), nullptr);
    EXPECT_NE(dll_->proc("GetCardInfoEx"), nullptr);
    EXPECT_NE(dll_->proc("TransactionsEx"), nullptr);
    EXPECT_EQ(dll_->proc("_Init@0"), nullptr);
    EXPECT_EQ(dll_->proc("GetCardInfoEx@44"), nullptr);
    EXPECT_EQ(dll_->proc("_TransactionsEx@32"), nullptr);
}

TEST_F(ExportsTest, LoadEmptiesInitMarkerEvenWhenItHeldText) {
    writeFile("init.txt", "left over from yesterday");
    loadDll();
    EXPECT_TRUE(GetFileAttributesA("init.txt") != INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(readFile("init.txt"), "");
    writeFile("init.txt", "written while loaded");
    dll_->unload();  // unloading is a notification too
    EXPECT_EQ(readFile("init.txt"), "");
}

// The runtime's stream locks are what fopen takes (msvcrt.dll numbers them
// from 28, one per _iob slot; 0 to 2 are the standard streams).
extern "C" void __cdecl _lock(int);
extern "C" void __cdecl _unlock(int);

// Holds the lock of every free _iob slot on a thread of its own until released,
// or for 8 s at most, so that a test that would deadlock ends anyway.
class StreamLocksHeld {
  public:
    StreamLocksHeld() {
        thread_ = CreateThread(nullptr, 0, &StreamLocksHeld::hold, this, 0, nullptr);
        WaitForSingleObject(held_, INFINITE);
    }
    ~StreamLocksHeld() {
        SetEvent(release_);
        WaitForSingleObject(thread_, INFINITE);
        CloseHandle(thread_);
        CloseHandle(held_);
        CloseHandle(release_);
    }

  private:
    static DWORD WINAPI hold(void* self) {
        auto* me = static_cast<StreamLocksHeld*>(self);
        for (int n = kFirst; n <= kLast; ++n) _lock(n);
        SetEvent(me->held_);
        WaitForSingleObject(me->release_, 8000);
        for (int n = kLast; n >= kFirst; --n) _unlock(n);
        return 0;
    }
    static constexpr int kFirst = 28 + 3, kLast = 28 + 19;
    HANDLE held_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE release_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE thread_ = nullptr;
};

DWORD WINAPI doNothing(void*) { return 0; }

// The entry routine runs under the loader lock on every load, unload and
// thread start: it must not wait for a lock of the C runtime, which a host
// thread may hold while it waits for the loader. init.txt is emptied all the
// same at each of those moments.
TEST_F(ExportsTest, EntryRoutineTakesNoRuntimeLock) {
    writeFile("init.txt", "left over from yesterday");
    DWORD loadMs = 0, threadMs = 0, threadWait = WAIT_FAILED;
    {
        StreamLocksHeld locks;
        DWORD start = GetTickCount();
        loadDll();
        loadMs = GetTickCount() - start;
        start = GetTickCount();
        HANDLE thread = CreateThread(nullptr, 0, doNothing, nullptr, 0, nullptr);
        threadWait = WaitForSingleObject(thread, 8000);
        threadMs = GetTickCount() - start;
        CloseHandle(thread);
    }
    EXPECT_LT(loadMs, 4000u) << "loading waited for the runtime's stream locks";
    EXPECT_EQ(threadWait, WAIT_OBJECT_0);
    EXPECT_LT(threadMs, 4000u) << "a thread's start waited for the runtime's stream locks";
    EXPECT_EQ(readFile("init.txt"), "");
    writeFile("init.txt", "written while loaded");
    {
        StreamLocksHeld locks;
        HANDLE thread = CreateThread(nullptr, 0, doNothing, nullptr, 0, nullptr);
        WaitForSingleObject(thread, 8000);
        CloseHandle(thread);
    }
    EXPECT_EQ(readFile("init.txt"), "") << "a thread's start is a notification too";
}

TEST_F(ExportsTest, InitTwiceWritesItsEntriesTwiceAndReturnsZero) {
    writeFile("conf.xml", kConf);
    loadDll();
    CallResult first = dll_->init();
    CallResult second = dll_->init();
    EXPECT_EQ(first.result, 0);
    EXPECT_EQ(second.result, 0);
    EXPECT_EQ(first.removed, 0u);
    EXPECT_EQ(second.removed, 0u);
    EXPECT_EQ(stampless(logText()), initEntries(kConf) + initEntries(kConf));
}

TEST_F(ExportsTest, InitWithoutConfigurationStillReturnsZero) {
    loadDll();
    CallResult r = dll_->init();
    EXPECT_EQ(r.result, 0);
    EXPECT_EQ(r.removed, 0u);
    EXPECT_EQ(stampless(logText()), initEntries(""));
}

TEST_F(ExportsTest, WorkingCallsBalanceTheStackWhateverTheJunkSlots) {
    writeFile("conf.xml", kConf);
    loadDll();
    std::vector<uint8_t> record(1164, 0);
    const char check[] = "<CHECK chmode=\"14\"></CHECK>";
    char junkBuffer[16] = {};
    const std::vector<std::pair<uint32_t, void*>> junks = {
        {0, nullptr}, {0xdeadbeefu, junkBuffer}, {0xffffffffu, reinterpret_cast<void*>(1)}};

    std::vector<int32_t> lookupResults, postingResults;
    for (const auto& j : junks) {
        CallResult lookup = dll_->getCardInfoEx(79161234567LL, record.data(), check, sizeof check,
                                                j.first, j.second);
        EXPECT_EQ(lookup.removed, 44u);
        lookupResults.push_back(lookup.result);
        CallResult posting = dll_->transactionsEx(check, sizeof check, j.first, j.second);
        EXPECT_EQ(posting.removed, 32u);
        postingResults.push_back(posting.result);
        // Null and empty input buffers take other paths; the contract holds there too.
        EXPECT_EQ(dll_->getCardInfoEx(0, record.data(), nullptr, 0, j.first, j.second).removed,
                  44u);
        EXPECT_EQ(dll_->transactionsEx(nullptr, 0, j.first, j.second).removed, 32u);
    }
    // The never-read slots change nothing.
    EXPECT_THAT(lookupResults, ::testing::Each(lookupResults.front()));
    EXPECT_THAT(postingResults, ::testing::Each(postingResults.front()));
    EXPECT_EQ(std::memcmp(junkBuffer, std::vector<char>(16, 0).data(), 16), 0);
}

TEST_F(ExportsTest, WorkingCallsLogTheirStartAndTheInputBuffer) {
    loadDll();
    std::vector<uint8_t> record(1164, 0);
    const char check[] = "<CHECK chmode=\"1\">\n</CHECK>\0junk";
    dll_->getCardInfoEx(1, record.data(), check, sizeof check);
    dll_->transactionsEx(check, sizeof check);
    std::string log = stampless(logText());
    EXPECT_THAT(log, HasSubstr("[S] GetCardInfoEx : GetCardInfoEx from File1 Started!" + kEol +
                               "[S] GetCardInfoEx : InputBuf was" + kEol + kEol +
                               "<CHECK chmode=\"1\">" + kEol + "</CHECK>" + kEol));
    EXPECT_THAT(log, HasSubstr("[S] ClearTheLog : Failed!" + kEol + "[S] TransactionsEx : Started" +
                               kEol + "[S] TransactionsEx : InputBuf was" + kEol + kEol));
}

TEST_F(ExportsTest, LogKeepsEveryByteAndStoresEachLineFeedAsCrLf) {
    struct Case {
        std::string input;
        std::string logged;
    };
    const std::vector<Case> cases = {
        {"<CHECK>\r\n</CHECK>", "<CHECK>\r\r\n</CHECK>"},
        {"a\rb\x1a"
         "c\xff\n",
         "a\rb\x1a"
         "c\xff\r\n"},
        {"\n\n", "\r\n\r\n"},
    };
    loadDll();
    for (const Case& c : cases) {
        DeleteFileA("brisvane.log");
        dll_->transactionsEx(c.input.c_str(), static_cast<uint32_t>(c.input.size()));
        EXPECT_THAT(logText(),
                    HasSubstr("TransactionsEx : InputBuf was\r\n\r\n" + c.logged + "\r\n"))
            << c.input;
    }
    // conf.xml saved with CR LF is read as text and logged with CR LF again.
    writeFile("conf.xml", "<Configuration>\r\n</Configuration>\r\n");
    DeleteFileA("brisvane.log");
    dll_->init();
    EXPECT_THAT(logText(),
                HasSubstr("WriteConfToLog : <Configuration>\r\n</Configuration>\r\n\r\n"));
}

TEST_F(ExportsTest, ClearTheLogAtTheThresholdThroughTransactionsEx) {
    loadDll();
    writeFile("brisvane.log", std::string(10000000, 'x'));
    dll_->transactionsEx("", 1);
    std::string kept = logText();
    EXPECT_EQ(kept.find_first_not_of('x'), 10000000u);
    EXPECT_EQ(stampless(kept.substr(10000000, 80)).rfind("[S] ClearTheLog : Failed!" + kEol, 0),
              0u);

    writeFile("brisvane.log", std::string(10000001, 'x'));
    dll_->transactionsEx("", 1);
    EXPECT_EQ(stampless(logText()).rfind("[S] ClearTheLog : Success!" + kEol, 0), 0u);
}

}  // namespace
