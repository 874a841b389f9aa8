// The send worker natively: std::thread with a timed wait on its end.
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "platform/Platform.h"

namespace platform {

struct WorkerThread::Impl {
    std::mutex m;
    std::condition_variable cv;
    bool done = false;
    uint32_t code = 0;
    std::thread thread;
};

WorkerThread::WorkerThread(WorkerProc proc, void* param) : impl_(new Impl) {
    Impl* impl = impl_.get();
    try {
        impl->thread = std::thread([impl, proc, param] {
            uint32_t code = proc(param);
            std::lock_guard<std::mutex> lock(impl->m);
            impl->code = code;
            impl->done = true;
            impl->cv.notify_all();
        });
    } catch (const std::system_error&) {
        // Not started: wait() and exitCode() report the failure.
    }
}

WorkerThread::~WorkerThread() { close(); }

WaitResult WorkerThread::wait(uint32_t ms) {
    if (!impl_->thread.joinable()) return impl_->done ? WaitResult::Ended : WaitResult::Failed;
    {
        std::unique_lock<std::mutex> lock(impl_->m);
        if (ms == kInfinite) {
            impl_->cv.wait(lock, [this] { return impl_->done; });
        } else if (!impl_->cv.wait_for(lock, std::chrono::milliseconds(ms),
                                       [this] { return impl_->done; })) {
            return WaitResult::TimedOut;
        }
    }
    impl_->thread.join();
    return WaitResult::Ended;
}

bool WorkerThread::exitCode(uint32_t& code) {
    std::lock_guard<std::mutex> lock(impl_->m);
    if (!impl_->done) return false;
    code = impl_->code;
    return true;
}

void WorkerThread::close() {
    if (impl_->thread.joinable()) impl_->thread.join();
}

}  // namespace platform
