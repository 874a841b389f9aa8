#include "api/ReplyAccess.h"

namespace {

const rapidjson::Value& member(const rapidjson::Value& reply, const char* name,
                               const char* expected) {
    if (reply.IsObject()) {
        auto it = reply.FindMember(name);
        if (it != reply.MemberEnd()) return it->value;
    }
    throw ReplyFormatError(std::string("reply member \"") + name + "\" is missing (expected " +
                           expected + ")");
}

[[noreturn]] void wrongType(const char* name, const char* expected) {
    throw ReplyFormatError(std::string("reply member \"") + name + "\" is not " + expected);
}

}  // namespace

bool hasReplyMember(const rapidjson::Value& reply, const char* name) {
    return reply.IsObject() && reply.HasMember(name);
}

int64_t replyInteger(const rapidjson::Value& reply, const char* name) {
    const rapidjson::Value& v = member(reply, name, "an integer");
    if (v.IsInt64()) return v.GetInt64();
    if (v.IsUint64()) return static_cast<int64_t>(v.GetUint64());
    wrongType(name, "an integer");
}

int32_t replyInt32(const rapidjson::Value& reply, const char* name) {
    const rapidjson::Value& v = member(reply, name, "an integer");
    if (!v.IsInt()) wrongType(name, "a 32-bit integer");
    return v.GetInt();
}

double replyNumber(const rapidjson::Value& reply, const char* name) {
    const rapidjson::Value& v = member(reply, name, "a number");
    if (!v.IsNumber()) wrongType(name, "a number");
    return v.GetDouble();
}

std::string replyString(const rapidjson::Value& reply, const char* name) {
    const rapidjson::Value& v = member(reply, name, "a string");
    if (!v.IsString()) wrongType(name, "a string");
    return std::string(v.GetString(), v.GetStringLength());
}

bool statusIsOne(const rapidjson::Document& reply) {
    if (reply.HasParseError() || !reply.IsObject()) return false;
    const auto status = reply.FindMember("Status");
    return status != reply.MemberEnd() && status->value.IsInt() && status->value.GetInt() == 1;
}
