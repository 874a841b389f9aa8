// The send worker on Windows: CreateThread with a timed WaitForSingleObject.
#include <windows.h>

#include "platform/Platform.h"

namespace platform {

struct WorkerThread::Impl {
    WorkerProc proc;
    void* param;
    HANDLE hThread = nullptr;
    bool ended = false;

    static DWORD WINAPI trampoline(LPVOID self) {
        auto* impl = static_cast<Impl*>(self);
        return impl->proc(impl->param);
    }
};

WorkerThread::WorkerThread(WorkerProc proc, void* param) : impl_(new Impl{proc, param}) {
    DWORD threadId = 0;
    impl_->hThread = CreateThread(nullptr, 0, &Impl::trampoline, impl_.get(), 0, &threadId);
}

WorkerThread::~WorkerThread() { close(); }

WaitResult WorkerThread::wait(uint32_t ms) {
    // A thread that never started gives WAIT_FAILED here, as the OS would.
    DWORD r = WaitForSingleObject(impl_->hThread, ms == kInfinite ? INFINITE : ms);
    if (r == WAIT_TIMEOUT) return WaitResult::TimedOut;
    if (r == WAIT_OBJECT_0) {
        impl_->ended = true;
        return WaitResult::Ended;
    }
    return WaitResult::Failed;
}

bool WorkerThread::exitCode(uint32_t& code) {
    DWORD dwExitCode = 0;
    if (!GetExitCodeThread(impl_->hThread, &dwExitCode) || dwExitCode == STILL_ACTIVE) return false;
    code = dwExitCode;
    return true;
}

void WorkerThread::close() {
    if (impl_->hThread == nullptr) return;
    if (!impl_->ended) WaitForSingleObject(impl_->hThread, INFINITE);
    CloseHandle(impl_->hThread);
    impl_->hThread = nullptr;
}

}  // namespace platform
