// Measures what SendRequestWrapper adds to a bare SendRequest: the same request
// with the same client, alternately bare and wrapped, in one run on loopback.
//   transportbench <address> <path> [count]
// Run it in a scratch folder: every exchange writes brisvane.log there.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "http/HttpClient.h"
#include "http/SendRequestWrapper.h"
#include "log/Logger.h"

namespace {

const char* const kAccept[] = {"*/*", nullptr};
const char* const kHeaders = "Content-Type:application/json;";
const char* const kBody = "{\"Card\":\"79161234567\",\"Pos\":1}";

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: transportbench <address> <path> [count]\n");
        return 2;
    }
    const std::string path = argv[2];
    const int count = argc > 3 ? std::atoi(argv[3]) : 200;
    HttpClient client;
    Logger log;
    if (client.init(argv[1], false) != 0) {
        std::fprintf(stderr, "transportbench: no connection\n");
        return 1;
    }
    using clock = std::chrono::steady_clock;
    std::vector<double> bare, wrapped;
    int failures = 0;
    for (int i = -10; i < count; ++i) {  // ten rounds to warm up
        auto t0 = clock::now();
        ByteBuffer a =
            client.SendRequest("POST", kHeaders, path.c_str(), kBody, kAccept, log).reply;
        auto t1 = clock::now();
        ByteBuffer b =
            SendRequestWrapper(client, "POST", kHeaders, path.c_str(), kBody, kAccept, log).reply;
        auto t2 = clock::now();
        if (isEmptyReply(a) || isEmptyReply(b)) ++failures;
        if (i < 0) continue;
        bare.push_back(std::chrono::duration<double, std::micro>(t1 - t0).count());
        wrapped.push_back(std::chrono::duration<double, std::micro>(t2 - t1).count());
    }
    client.close();
    const double mb = median(bare), mw = median(wrapped);
    std::printf("exchanges: %d bare, %d wrapped, %d without a reply\n", count, count, failures);
    std::printf("median bare SendRequest:    %.1f us\n", mb);
    std::printf("median SendRequestWrapper:  %.1f us\n", mw);
    std::printf("ratio of medians (wrapped / bare): %.3f (goal: at most 1.05)\n", mw / mb);
    return failures == 0 ? 0 : 1;
}
