// initCheckXml on generated checks of growing size. The per-line cost should
// stay flat: scripts/bench.sh prints the 10000-line / 100-line ratio.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "check/CheckXml.h"
#include "log/Logger.h"

namespace {

// A check as a host sends it: CHECKDATA after CHECK and a line feed behind it,
// so every step runs (interfaces, holders, dump, debug copy, parse, lookups).
std::string makeCheck(int lines) {
    std::string text =
        "<INTERFACES><INTERFACE interface=\"12\"/></INTERFACES>\n"
        "<HOLDERS><ITEM cardcode=\"4000000000123\"/></HOLDERS>\n"
        "<CHECK restaurantcode=\"7\" chmode=\"1\"></CHECK>\n"
        "<CHECKDATA orderguid=\"{6F1E4C2A-0B9D-4E55-9A10-3C2B1D0E7F88}\" checknum=\"1024\" "
        "order_cat=\"1\">\n<CHECKLINES>\n";
    for (int i = 0; i < lines; ++i) {
        text += "<LINE type=\"dish\" id=\"" + std::to_string(1000 + i) + "\" name=\"Dish " +
                std::to_string(i) +
                "\" quantity=\"1\" price=\"250.00\" sum=\"250.00\" servprint_id=\"1\" "
                "servprint=\"Kitchen\"/>\n";
    }
    text +=
        "</CHECKLINES>\n<CHECKPAYMENTS><PAYMENT code=\"5\" account=\"77\" interface=\"12\" "
        "sum=\"10\"/></CHECKPAYMENTS>\n</CHECKDATA>\n";
    return text;
}

void BM_initCheckXml(benchmark::State& state) {
    const int lines = static_cast<int>(state.range(0));
    const std::string text = makeCheck(lines);
    const auto length = static_cast<uint32_t>(text.size() + 1);
    Logger log;
    std::size_t logged = 0;
    for (auto _ : state) {
        CheckXml reader;
        const CheckInit result = initCheckXml(reader, text.c_str(), length, "GetCardInfoEx", log);
        benchmark::DoNotOptimize(result);
        if (result != CheckInit::Ready || !reader.checkData)
            state.SkipWithError("check did not load");
        logged += text.size();
        if (logged > (64u << 20)) {  // the dump grows the log; start it afresh now and then
            state.PauseTiming();
            std::remove(kLogFileName);
            logged = 0;
            state.ResumeTiming();
        }
    }
    state.SetItemsProcessed(state.iterations() * lines);
    state.counters["bytes"] = static_cast<double>(text.size());
}
BENCHMARK(BM_initCheckXml)->Arg(10)->Arg(100)->Arg(1000)->Arg(10000)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    // The reader writes its log and debug copy into the working folder. A memory
    // file system keeps the disk's flush-on-truncate out of the measurement.
    std::error_code ec;
    std::filesystem::path base = std::filesystem::is_directory("/dev/shm", ec)
                                     ? std::filesystem::path("/dev/shm")
                                     : std::filesystem::temp_directory_path();
    std::filesystem::path dir = base / ("brisvane-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    std::filesystem::current_path(dir);

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    std::filesystem::current_path(std::filesystem::temp_directory_path(), ec);
    std::filesystem::remove_all(dir, ec);
    return 0;
}
