#pragma once
// GoogleTest's own thread-start helper without std::mutex and
// std::condition_variable, which the win32 thread model of the Windows builds
// lacks. Found ahead of GoogleTest's empty customisation header of the same
// name. Only GoogleTest's self-tests wait on it, so a spin will do; it stays
// clear of <windows.h>, whose macros would reach every test file.
#include <atomic>

#define GTEST_HAS_NOTIFICATION_ 1

namespace testing {
namespace internal {

class Notification {
  public:
    Notification() = default;
    Notification(const Notification&) = delete;
    Notification& operator=(const Notification&) = delete;

    void Notify() { notified_.store(true); }
    void WaitForNotification() {
        while (!notified_.load()) {
        }
    }

  private:
    std::atomic<bool> notified_{false};
};

}  // namespace internal
}  // namespace testing
