#include "host/Entry.h"

#include <cstdio>
#include <exception>
#include <string>

#include "config/Config.h"
#include "host/Version.h"
#include "log/LogPhrases.h"
#include "log/Logger.h"

void truncateInitMarker() {
    if (std::FILE* f = std::fopen("init.txt", "wb")) std::fclose(f);
}

int32_t runInit() {
    Logger log;
    log.logMessage(logphrase::kInit, logphrase::kStarted);
    log.logMessage(logphrase::kInit,
                   "****************\n\nbrisvane.dll started!\n\n****************");
    log.logMessage(logphrase::kInit,
                   std::string(logphrase::kCurrentVersion) + BRISVANE_VERSION_TEXT);
    WriteConfToLog(log);
    log.logMessage(logphrase::kInit, logphrase::kEnded);
    return 0;
}
