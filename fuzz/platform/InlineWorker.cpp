// The send worker run inline: the send has finished by the time the module
// waits for it, unless the script says it never would, in which case the
// timed wait reports the time-out and the wait after the abort finds it ended.
#include "platform/Platform.h"

namespace scripted {
bool takeHang();
}

namespace platform {

struct WorkerThread::Impl {
    uint32_t code = 0;
    bool hung = false;
};

WorkerThread::WorkerThread(WorkerProc proc, void* param) : impl_(new Impl) {
    impl_->code = proc(param);
    impl_->hung = scripted::takeHang();
}

WorkerThread::~WorkerThread() { close(); }

WaitResult WorkerThread::wait(uint32_t ms) {
    if (impl_->hung && ms != kInfinite) return WaitResult::TimedOut;
    impl_->hung = false;
    return WaitResult::Ended;
}

bool WorkerThread::exitCode(uint32_t& code) {
    if (impl_->hung) return false;
    code = impl_->code;
    return true;
}

void WorkerThread::close() { impl_->hung = false; }

}  // namespace platform
