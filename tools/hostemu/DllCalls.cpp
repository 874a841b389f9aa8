#include "DllCalls.h"

#include <windows.h>

#include <cstdint>
#include <cstdio>

#include "Console.h"
#include "DllModule.h"
#include "RecordTable.h"
#include "record/CardInfoRecord.h"

namespace {

int missingExport(const char* name) {
    std::fprintf(stderr, "hostemu: brisvane.dll has no export %s\n", name);
    return 1;
}

}  // namespace

int runDllCommand(const Args& args, const std::string& check) {
    if (!SetCurrentDirectoryA(args.folder.c_str())) {
        std::fprintf(stderr, "hostemu: cannot enter folder %s (error %lu)\n", args.folder.c_str(),
                     GetLastError());
        return 1;
    }
    char full[MAX_PATH + 1];
    const DWORD n = GetFullPathNameA("brisvane.dll", sizeof full, full, nullptr);
    Module dll(n > 0 && n <= MAX_PATH ? std::string(full) : std::string(".\\brisvane.dll"));
    if (!dll.loaded()) {
        std::fprintf(stderr, "hostemu: cannot load %s\\brisvane.dll (error %lu)\n",
                     args.folder.c_str(), GetLastError());
        return 1;
    }

    const long long before = fileSize("brisvane.log");
    // The host passes the check with its terminating zero byte.
    const uint32_t length = static_cast<uint32_t>(check.size() + 1);
    if (args.command == Args::Command::Init) {
        auto init = dll.proc<InitFn>("Init");
        if (!init) return missingExport("Init");
        std::printf("Init returned %d\n", init());
    } else if (args.command == Args::Command::Lookup) {
        auto lookup = dll.proc<GetCardInfoExFn>("GetCardInfoEx");
        if (!lookup) return missingExport("GetCardInfoEx");
        CardInfoRecord record{};
        record.Size = sizeof record;
        const int32_t result =
            lookup(args.card, 0, 0, &record, check.c_str(), length, 0, nullptr, 0, 0);
        std::printf("GetCardInfoEx(%lld) returned %d (%s)\n", static_cast<long long>(args.card),
                    result, result == 0 ? "answered" : "failed");
        printRecord(record, args.brief);
    } else {
        auto post = dll.proc<TransactionsExFn>("TransactionsEx");
        if (!post) return missingExport("TransactionsEx");
        const int32_t result = post(0, 0, check.c_str(), length, 0, nullptr, 0, 0);
        std::printf("TransactionsEx returned %d (%s)\n", result,
                    result == 0 ? "posted" : "not posted");
    }
    std::printf(args.brief ? "--- closing log lines of this call ---\n"
                           : "--- log entries written by this call ---\n");
    printLogFrom(before, args.brief);
    std::fflush(stdout);
    return 0;
}
