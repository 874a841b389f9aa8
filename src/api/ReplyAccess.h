#pragma once
#include <rapidjson/document.h>

#include <cstdint>
#include <exception>
#include <string>

// A service reply that lacks a member the module reads, or carries it with
// another JSON type. The flows turn it into a failed call, never a crash.
class ReplyFormatError : public std::exception {
  public:
    explicit ReplyFormatError(std::string text) : message(std::move(text)) {}
    const char* what() const noexcept override { return message.c_str(); }
    std::string message;
};

bool hasReplyMember(const rapidjson::Value& reply, const char* name);
// Any JSON integer; callers keep the low bits they need.
int64_t replyInteger(const rapidjson::Value& reply, const char* name);
// An integer that fits in 32 bits (such as "Status").
int32_t replyInt32(const rapidjson::Value& reply, const char* name);
// Any JSON number.
double replyNumber(const rapidjson::Value& reply, const char* name);
std::string replyString(const rapidjson::Value& reply, const char* name);

// A parsed reply that is a JSON object whose "Status" is the integer 1: the
// service's word for success. Anything else (a parse error, "1" as text, 1.5)
// is not.
bool statusIsOne(const rapidjson::Document& reply);
