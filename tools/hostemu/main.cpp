// hostemu: loads brisvane.dll the way a POS host does and calls its exports,
// so that an installation can be tried without a till.
#include <windows.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "host/CardInfoRecord.h"

namespace {

using InitFn = int32_t(__stdcall*)();
using GetCardInfoExFn = int32_t(__stdcall*)(int64_t, uint32_t, uint32_t, CardInfoRecord*,
                                            const char*, uint32_t, uint16_t, void*, uint32_t,
                                            uint16_t);
using TransactionsExFn = int32_t(__stdcall*)(uint32_t, uint32_t, const char*, uint32_t, uint16_t,
                                             void*, uint32_t, uint16_t);

int usage() {
    std::fprintf(stderr,
                 "usage: hostemu <folder> init\n"
                 "       hostemu <folder> lookup <card-or-phone-number> <check.xml>\n"
                 "       hostemu <folder> transaction <check.xml>\n"
                 "  Loads <folder>\\brisvane.dll with <folder> as the working directory, runs\n"
                 "  the command and prints the result, the card record (lookup) and the log\n"
                 "  entries the call wrote.\n");
    return 2;
}

long long fileSize(const char* name) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(name, GetFileExInfoStandard, &data)) return 0;
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

bool readWholeFile(const std::string& name, std::string& out) {
    std::FILE* f = std::fopen(name.c_str(), "rb");
    if (!f) return false;
    char buf[4096];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) out.append(buf, n);
    std::fclose(f);
    return true;
}

// Host text is Windows-1251; the console shows it as the terminal's UTF-8.
std::string fromCp1251(const std::string& text) {
    if (text.empty()) return text;
    int n = MultiByteToWideChar(1251, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(1251, 0, text.data(), static_cast<int>(text.size()), &wide[0], n);
    int m = WideCharToMultiByte(CP_UTF8, 0, wide.data(), n, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(m), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), n, &out[0], m, nullptr, nullptr);
    return out;
}

void writeOut(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
}

bool isUtf8(const std::string& text) {
    return MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(),
                               static_cast<int>(text.size()), nullptr, 0) > 0;
}

void printLogFrom(long long offset) {
    std::string log;
    if (!readWholeFile("brisvane.log", log)) {
        std::printf("(no brisvane.log)\n");
        return;
    }
    if (offset > static_cast<long long>(log.size())) offset = 0;  // the log was cleared
    // The log holds the host's Windows-1251 texts beside the service's UTF-8
    // replies; each line is shown in whichever it is.
    std::string line;
    for (std::size_t i = static_cast<std::size_t>(offset); i <= log.size(); ++i) {
        if (i < log.size() && log[i] != '\n') {
            if (log[i] != '\r') line += log[i];
            continue;
        }
        writeOut(line.empty() || isUtf8(line) ? line : fromCp1251(line));
        if (i < log.size()) writeOut("\n");
        line.clear();
    }
}

template <std::size_t N>
std::string text(const char (&field)[N]) {
    std::size_t n = 0;
    while (n < N && field[n] != '\0') ++n;
    return fromCp1251(std::string(field, n));
}

void row(const char* name, const std::string& value) {
    std::printf("  %-16s %s\n", name, value.c_str());
}

std::string money(int64_t hundredths) {
    char buf[48];
    const char* sign = hundredths < 0 ? "-" : "";
    unsigned long long v = hundredths < 0 ? 0ull - static_cast<unsigned long long>(hundredths)
                                          : static_cast<unsigned long long>(hundredths);
    std::snprintf(buf, sizeof buf, "%s%llu.%02llu", sign, v / 100, v % 100);
    return buf;
}

void printRecord(const CardInfoRecord& r) {
    std::printf("--- card record ---\n");
    row("Card_owner", text(r.Card_owner));
    row("Owner_id", std::to_string(r.Owner_id));
    row("Account_number", std::to_string(r.Account_number));
    row("Blocked", std::to_string(r.Blocked));
    row("Block_reason", text(r.Block_reason));
    row("Max_discount", money(r.Max_discount));
    const int64_t amounts[] = {r.Access_amount,  r.Access_amount2, r.Access_amount3,
                               r.Access_amount4, r.Access_amount5, r.Access_amount6,
                               r.Access_amount7, r.Access_amount8};
    for (int i = 0; i < 8; ++i) {
        if (amounts[i] == 0) continue;
        const std::string name = i == 0 ? "Access_amount" : "Access_amount" + std::to_string(i + 1);
        row(name.c_str(), money(amounts[i]));
    }
    row("Not_pay_type", std::to_string(r.Not_pay_type));
    row("Bonus_num", std::to_string(r.Bonus_num));
    row("Discount_num", std::to_string(r.Discount_num));
    row("Comment", text(r.Comment));
    row("Screen_comment", text(r.Screen_comment));
    row("Printer_comment", text(r.Printer_comment));
    std::printf("  flags            Deleted=%u Need_withdraw=%u Expired=%u Not_valid=%u "
                "Manager_confirm=%u\n",
                r.Deleted, r.Need_withdraw, r.Expired, r.Not_valid, r.Manager_confirm);
}

bool parseCard(const char* s, int64_t& card) {
    char* end = nullptr;
    errno = 0;
    long long v = std::strtoll(s, &end, 10);
    if (errno != 0 || end == s || *end != '\0') return false;
    card = v;
    return true;
}

class Module {
public:
    Module() : dll_(LoadLibraryA(".\\brisvane.dll")) {}
    ~Module() {
        if (dll_) FreeLibrary(dll_);
    }
    Module(const Module&) = delete;
    Module& operator=(const Module&) = delete;
    HMODULE get() const { return dll_; }
    template <typename Fn>
    Fn proc(const char* name) const {
        return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(dll_, name)));
    }

private:
    HMODULE dll_;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return usage();
    const std::string folder = argv[1];
    const std::string command = argv[2];
    const bool isInit = command == "init" && argc == 3;
    const bool isLookup = command == "lookup" && argc == 5;
    const bool isTransaction = command == "transaction" && argc == 4;
    if (!isInit && !isLookup && !isTransaction) return usage();

    int64_t card = 0;
    if (isLookup && !parseCard(argv[3], card)) {
        std::fprintf(stderr, "hostemu: not a 64-bit number: %s\n", argv[3]);
        return 2;
    }
    std::string check;
    if (isLookup || isTransaction) {
        const char* file = argv[argc - 1];
        if (!readWholeFile(file, check)) {
            std::fprintf(stderr, "hostemu: cannot read check file %s\n", file);
            return 2;
        }
    }
    if (!SetCurrentDirectoryA(folder.c_str())) {
        std::fprintf(stderr, "hostemu: cannot enter folder %s (error %lu)\n", folder.c_str(),
                     GetLastError());
        return 1;
    }
    Module dll;
    if (!dll.get()) {
        std::fprintf(stderr, "hostemu: cannot load %s\\brisvane.dll (error %lu)\n", folder.c_str(),
                     GetLastError());
        return 1;
    }

    const long long before = fileSize("brisvane.log");
    int32_t result = 0;
    CardInfoRecord record{};
    record.Size = sizeof record;
    if (isInit) {
        auto init = dll.proc<InitFn>("Init");
        if (!init) return std::fprintf(stderr, "hostemu: no export Init\n"), 1;
        result = init();
        std::printf("Init returned %d\n", result);
    } else if (isLookup) {
        auto lookup = dll.proc<GetCardInfoExFn>("GetCardInfoEx");
        if (!lookup) return std::fprintf(stderr, "hostemu: no export GetCardInfoEx\n"), 1;
        result = lookup(card, 0, 0, &record, check.c_str(), static_cast<uint32_t>(check.size() + 1),
                        0, nullptr, 0, 0);
        std::printf("GetCardInfoEx(%lld) returned %d (%s)\n", static_cast<long long>(card), result,
                    result == 0 ? "answered" : "failed");
        printRecord(record);
    } else {
        auto post = dll.proc<TransactionsExFn>("TransactionsEx");
        if (!post) return std::fprintf(stderr, "hostemu: no export TransactionsEx\n"), 1;
        result = post(0, 0, check.c_str(), static_cast<uint32_t>(check.size() + 1), 0, nullptr, 0,
                      0);
        std::printf("TransactionsEx returned %d (%s)\n", result,
                    result == 0 ? "posted" : "not posted");
    }
    std::printf("--- log entries written by this call ---\n");
    printLogFrom(before);
    std::fflush(stdout);
    return 0;
}
