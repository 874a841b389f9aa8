#include "host/Entry.h"

#include <exception>
#include <string>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

#include "config/Config.h"
#include "host/Version.h"
#include "log/LogEvents.h"
#include "log/Logger.h"

void truncateInitMarker() {
    // Straight to the system, not through the C runtime: this runs under the
    // loader lock, on thread notifications too, where taking the runtime's
    // stream locks can deadlock against a thread that holds them and waits
    // for the loader.
#ifdef _WIN32
    const HANDLE f = CreateFileA("init.txt", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                 nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f != INVALID_HANDLE_VALUE) CloseHandle(f);
#else
    const int f = ::open("init.txt", O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (f >= 0) ::close(f);
#endif
}

int32_t runInit() {
    Logger log;
    log.log(logevent::Event::InitStarted);
    log.log(logevent::Event::InitBanner);
    log.log(logevent::Event::InitVersion, {{"version", BRISVANE_VERSION_TEXT}});
    WriteConfToLog(log);
    log.log(logevent::Event::InitEnded);
    return 0;
}
