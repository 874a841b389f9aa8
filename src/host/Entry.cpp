#include "host/Entry.h"

#include <cstdio>
#include <exception>
#include <string>

#include "config/Config.h"
#include "host/Version.h"
#include "log/Logger.h"

void truncateInitMarker() {
    if (std::FILE* f = std::fopen("init.txt", "wb")) std::fclose(f);
}

int32_t runInit() {
    Logger log;
    log.logMessage("Init", "Started");
    log.logMessage("Init", "****************\n\nbrisvane.dll started!\n\n****************");
    log.logMessage("Init", "CURRENT VERSION: " BRISVANE_VERSION_TEXT);
    WriteConfToLog(log);
    log.logMessage("Init", "Ended");
    return 0;
}

int32_t runTransactionsEx(const char* inpBuf, uint32_t inpLen) {
    Logger log;
    ClearTheLog();
    log.logMessage("TransactionsEx", "Started");
    log.logInputBuffer("TransactionsEx", inpBuf, inpLen);
    // The posting flow itself is not built yet.
    log.logMessage("TransactionsEx",
                   "ERROR transaction posting is not available in this build RETURN 1");
    return 1;
}
