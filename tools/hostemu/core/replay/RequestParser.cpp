#include "replay/RequestParser.h"

#include <cctype>
#include <cstdlib>

namespace replay {

Parse parseRequest(const std::string& in, std::string& path, std::string& body) {
    const std::size_t headEnd = in.find("\r\n\r\n");
    if (headEnd == std::string::npos)
        return in.size() > kMaxRequestBytes ? Parse::Bad : Parse::Incomplete;
    const std::size_t sp1 = in.find(' ');
    const std::size_t sp2 = sp1 == std::string::npos ? sp1 : in.find(' ', sp1 + 1);
    if (sp2 == std::string::npos || sp2 > headEnd) return Parse::Bad;
    path = in.substr(sp1 + 1, sp2 - sp1 - 1);
    if (!path.empty() && path[0] == '/') path.erase(0, 1);
    std::size_t length = 0;
    for (std::size_t p = in.find("\r\n"); p < headEnd; p = in.find("\r\n", p + 2)) {
        static const char kName[] = "content-length:";
        const std::size_t n = sizeof kName - 1;
        bool match = p + 2 + n <= headEnd;
        for (std::size_t i = 0; match && i < n; ++i)
            match = static_cast<char>(std::tolower(static_cast<unsigned char>(in[p + 2 + i]))) ==
                    kName[i];
        if (match) length = std::strtoul(in.c_str() + p + 2 + n, nullptr, 10);
    }
    if (length > kMaxRequestBytes) return Parse::Bad;
    if (in.size() < headEnd + 4 + length) return Parse::Incomplete;
    body = in.substr(headEnd + 4, length);
    return Parse::Done;
}

}  // namespace replay
