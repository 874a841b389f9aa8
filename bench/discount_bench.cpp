// Building the discount body for checks of growing size. The per-line cost
// should stay flat: scripts/bench.sh prints the 10000-line / 100-line ratio.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "api/OrderBody.h"
#include "check/CheckXml.h"

namespace {

std::string makeCheckData(int lines) {
    std::string text =
        "<CHECK restaurantcode=\"7\" chmode=\"1\"/>"
        "<CHECKDATA orderguid=\"{6F1E4C2A-0B9D-4E55-9A10-3C2B1D0E7F88}\" checknum=\"1024\">"
        "<CHECKLINES>";
    for (int i = 0; i < lines; ++i) {
        const char* type = i % 5 == 4 ? "modify" : (i % 7 == 6 ? "combo" : "dish");
        text += "<LINE type=\"" + std::string(type) + "\" id=\"{" + std::to_string(1000 + i) +
                "}\" name=\"Dish " + std::to_string(i) +
                "\" quantity=\"1.5\" price=\"99.9\" sum=\"149.85\" servprint_id=\"{1}\" "
                "servprint=\"Kitchen\"/>";
    }
    return text + "</CHECKLINES></CHECKDATA>";
}

void BM_discountBody(benchmark::State& state) {
    const int lines = static_cast<int>(state.range(0));
    const std::string text = makeCheckData(lines);
    CheckXml reader;
    reader.doc.load_string(text.c_str());
    reader.check = reader.doc.child("CHECK");
    reader.checkData = reader.doc.child("CHECKDATA");
    std::vector<char> body;
    for (auto _ : state) {
        getJsonResponseForGetDiscount(reader, "12345", body);
        benchmark::DoNotOptimize(body.data());
    }
    state.SetItemsProcessed(state.iterations() * lines);
    state.counters["body_bytes"] = static_cast<double>(body.size());
}
BENCHMARK(BM_discountBody)->Arg(10)->Arg(100)->Arg(1000)->Arg(10000)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
