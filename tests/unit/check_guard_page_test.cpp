// The host's buffer placed right before an inaccessible page: any read past
// InpLen faults at once, natively and under Wine.
#include <gmock/gmock.h>

#include <cstring>
#include <string>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/mman.h>
#include <unistd.h>
#endif

#include "TestSupport.h"
#include "check/CheckXml.h"
#include "log/Logger.h"

using namespace testsupport;

namespace {

// Committed pages followed by one no-access page; place() copies bytes so that
// they end exactly at the guard.
class GuardedBuffer {
  public:
    explicit GuardedBuffer(std::size_t capacity) {
#ifdef _WIN32
        SYSTEM_INFO info;
        GetSystemInfo(&info);
        page_ = info.dwPageSize;
#else
        page_ = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
#endif
        usable_ = (capacity + page_ - 1) / page_ * page_;
        if (usable_ == 0) usable_ = page_;
#ifdef _WIN32
        base_ = static_cast<char*>(
            VirtualAlloc(nullptr, usable_ + page_, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
        DWORD old = 0;
        ok_ = base_ && VirtualProtect(base_ + usable_, page_, PAGE_NOACCESS, &old);
#else
        void* p = mmap(nullptr, usable_ + page_, PROT_READ | PROT_WRITE,
                       MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        base_ = p == MAP_FAILED ? nullptr : static_cast<char*>(p);
        ok_ = base_ && mprotect(base_ + usable_, page_, PROT_NONE) == 0;
#endif
    }
    ~GuardedBuffer() {
        if (!base_) return;
#ifdef _WIN32
        VirtualFree(base_, 0, MEM_RELEASE);
#else
        munmap(base_, usable_ + page_);
#endif
    }
    GuardedBuffer(const GuardedBuffer&) = delete;
    GuardedBuffer& operator=(const GuardedBuffer&) = delete;

    bool ok() const { return ok_; }
    const char* place(const std::string& bytes) {
        char* start = base_ + usable_ - bytes.size();
        std::memcpy(start, bytes.data(), bytes.size());
        return start;
    }

  private:
    std::size_t page_ = 0;
    std::size_t usable_ = 0;
    char* base_ = nullptr;
    bool ok_ = false;
};

class GuardPageTest : public InTempDir {
  protected:
    CheckInit run(const std::string& bytes, CheckXml& reader) {
        const char* buf = guard.place(bytes);
        return initCheckXml(reader, buf, static_cast<uint32_t>(bytes.size()), "GetCardInfoEx", log);
    }
    GuardedBuffer guard{8192};
    Logger log;
};

const std::string kSample =
    R"(<INTERFACES><INTERFACE interface="12"/></INTERFACES>)"
    R"(<HOLDERS><ITEM cardcode="4000000000"/><ITEM cardcode="x"/></HOLDERS>)"
    R"(<CHECKDATA orderguid="g1" checknum="3"><CHECKPAYMENTS><PAYMENT code="5" account="a" )"
    R"(interface="12"/></CHECKPAYMENTS></CHECKDATA>)"
    R"(<CHECK restaurantcode="7" chmode="1"></CHECK>)";

TEST_F(GuardPageTest, WholeTextEndingAtTheGuardLoads) {
    ASSERT_TRUE(guard.ok());
    CheckXml reader;
    EXPECT_EQ(run(kSample, reader), CheckInit::Ready);
    EXPECT_EQ(reader.selectedInterface, "12");
    EXPECT_THAT(reader.cardCodes, ::testing::ElementsAre(4000000000LL, 0));
    EXPECT_TRUE(reader.check);
    EXPECT_TRUE(reader.checkData);
}

TEST_F(GuardPageTest, EveryTruncationOfTheTextStaysInsideTheBuffer) {
    ASSERT_TRUE(guard.ok());
    // Every prefix cuts some marker or block in half somewhere.
    for (std::size_t n = 0; n < kSample.size(); ++n) {
        CheckXml reader;
        EXPECT_EQ(run(kSample.substr(0, n), reader), CheckInit::Ready) << n;
        EXPECT_FALSE(reader.check) << n;  // "</CHECK>" is the last thing in the sample
    }
}

TEST_F(GuardPageTest, MarkersAloneOrReversedAtTheEndOfTheBuffer) {
    ASSERT_TRUE(guard.ok());
    const char* tails[] = {
        "<INTERFACES",
        "<INTERFACES><INTERFACE interface=\"1\"/>",
        "</INTERFACES><INTERFACES",
        "<HOLDERS",
        "</HOLDERS><HOLDERS><ITEM cardcode=\"1\"/>",
        "<CHECK></CHECK><CHECKDATA",
        "<CHECK></CHECK><CHECKDATA></CHECKDATA",
        "<CHECKDATA></CHECKDATA><CHECK></CHECK>x",
        "</CHECKDATA><CHECK></CHECK><CHECKDATA>",
        "<CHECK></CHECK",
        "<CHECK",
    };
    for (const char* tail : tails) {
        CheckXml reader;
        EXPECT_EQ(run(tail, reader), CheckInit::Ready) << tail;
        EXPECT_EQ(reader.selectedInterface, "") << tail;
        EXPECT_TRUE(reader.cardCodes.empty()) << tail;
    }
}

}  // namespace
