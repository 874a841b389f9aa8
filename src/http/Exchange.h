#pragma once
#include <cstring>
#include <string>

#include "http/HttpClient.h"
#include "http/SendRequestWrapper.h"

// What every exchange with the loyalty service sends besides path and body.
inline constexpr const char* kJsonHeaders = "Content-Type:application/json;";
inline constexpr const char* const kAcceptAnything[] = {"*/*", nullptr};

// A reply's text: its bytes up to the first zero byte, never past the buffer.
inline std::string replyText(const ByteBuffer& reply) {
    const void* zero = std::memchr(reply.data(), '\0', reply.size());
    const std::size_t n = zero ? static_cast<const char*>(zero) - reply.data() : reply.size();
    return std::string(reply.data(), n);
}
