#pragma once
// A POS host in miniature: loads brisvane.dll from its build folder into a
// fresh working directory per test and calls its exports with exact slots.
#include <gtest/gtest.h>
// winsock2.h brings windows.h in the order Winsock needs (the rig opens the
// probe's listener).
#include <winsock2.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "LogText.h"
#include "host/DllModule.h"

extern "C" int32_t callWithSlots(void* fn, const uint32_t* slots, uint32_t count,
                                 uint32_t* removed);

namespace hostrig {

using logtext::kEol;
using logtext::kStampPattern;
using logtext::stampless;

using logtext::readFile;
using logtext::writeFile;

struct CallResult {
    int32_t result;
    uint32_t removed;
};

// The DLL loaded as every tool loads it (DllModule), its exports called with
// exact argument slots.
class Dll {
  public:
    explicit Dll(const std::string& path);

    bool loaded() const { return module_.loaded(); }
    void* proc(const char* name) const { return module_.proc(name); }
    void unload() { module_.unload(); }

    CallResult init() const;
    // Slots of the card lookup; the never-read ones are filled by the caller.
    CallResult getCardInfoEx(int64_t card, void* record, const char* inpBuf, uint32_t inpLen,
                             uint32_t junk = 0, void* junkPtr = nullptr) const;
    CallResult transactionsEx(const char* inpBuf, uint32_t inpLen, uint32_t junk = 0,
                              void* junkPtr = nullptr) const;

  private:
    DllModule module_;
};

// A listener on the address that the test build of the DLL probes: while it
// is open the probe succeeds, once closed the probe fails.
class ProbeListener {
  public:
    ProbeListener() = default;
    ~ProbeListener() { close(); }
    ProbeListener(const ProbeListener&) = delete;
    ProbeListener& operator=(const ProbeListener&) = delete;
    // false (and a test failure naming why) when the address cannot be bound.
    bool open();
    void close();
    bool isOpen() const { return socket_ != kNone; }

  private:
    static constexpr uintptr_t kNone = ~uintptr_t(0);
    uintptr_t socket_ = kNone;
};

// Fixture: a fresh temporary working directory, the DLL loaded inside it.
class HostTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;
    // The shipped DLL, or another build of it (the one with short waits).
    void loadDll(const char* path = BRISVANE_DLL_PATH);
    std::string logText() const { return readFile("brisvane.log"); }
    // conf.xml naming the service at `address` with `token` as the fallback
    // token; `accounts` goes inside Configuration as written.
    void writeConf(const std::string& address, const std::string& token,
                   const std::string& accounts = "") const;

    std::string dir_;
    std::string previous_;
    std::unique_ptr<Dll> dll_;
};

}  // namespace hostrig
