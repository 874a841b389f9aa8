#pragma once
#include <cstdint>

// Every wait of the transport, in one place. Test builds shorten them so that
// time-out paths take milliseconds; the shipped DLL keeps the real values.
namespace timings {
// The shipped DLL's waits, whatever this build uses: what a till's log was
// written with, for the tools that estimate a call's length from it.
namespace shipped {
inline constexpr uint32_t kSendLimitMs = 60000;
inline constexpr uint32_t kProbePauseMs = 10000;
inline constexpr uint32_t kRetryPauseMs = 30000;
inline constexpr uint32_t kIoGraceMs = 2000;
}  // namespace shipped
#ifdef BRISVANE_SHORT_TIMINGS
inline constexpr uint32_t kSendLimitMs = 1500;  // how long SendRequest waits for the send
inline constexpr uint32_t kProbePauseMs = 100;  // pause before the connectivity probe
inline constexpr uint32_t kRetryPauseMs = 200;  // pause before the second attempt
inline constexpr uint32_t kIoGraceMs = 700;     // WinInet's own time-outs lie this far beyond
#else
inline constexpr uint32_t kSendLimitMs = shipped::kSendLimitMs;
inline constexpr uint32_t kProbePauseMs = shipped::kProbePauseMs;
inline constexpr uint32_t kRetryPauseMs = shipped::kRetryPauseMs;
inline constexpr uint32_t kIoGraceMs = shipped::kIoGraceMs;
#endif
// Where the connectivity probe connects. A test build probes an address of
// the test set-up, where its tests open a listener or leave none, so that both
// of the wrapper's ways on run through the real code whether or not the test
// machine reaches the internet; the shipped DLL probes a wide public site.
#if defined(BRISVANE_TEST_PROBE_URL)
inline constexpr const wchar_t* kProbeUrl = L"" BRISVANE_TEST_PROBE_URL;
#else
inline constexpr const wchar_t* kProbeUrl = L"http://www.google.com/";
#endif
// Where a blocked send cannot be aborted by closing its handle (Wine), the
// request's own send/receive time-outs end it; they lie just past the limit
// so that the limit, not WinInet, decides what a time-out is.
inline constexpr uint32_t kRequestIoTimeoutMs = kSendLimitMs + kIoGraceMs;
}  // namespace timings
