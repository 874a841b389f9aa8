#pragma once
// The replay server's reading of one HTTP request from the bytes a client sent.
#include <cstddef>
#include <string>

namespace replay {

constexpr std::size_t kMaxRequestBytes = 1 << 20;

enum class Parse { Incomplete, Done, Bad };

// A whole request in `in`: its path (without the leading '/') and body, as
// long as its Content-Length says. Bad when the head is malformed or the
// request is larger than kMaxRequestBytes.
Parse parseRequest(const std::string& in, std::string& path, std::string& body);

}  // namespace replay
