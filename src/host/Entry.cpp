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
