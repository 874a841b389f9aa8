#pragma once
#include "http/HttpClient.h"

class Logger;

// How a wrapped exchange ended.
enum class WrapperOutcome {
    Replied,       // an attempt brought a reply
    NoInternet,    // no reply, and the probe found no connection: no second attempt
    NoReplyAgain,  // no reply at the second attempt either
};

struct WrapperResult {
    WrapperOutcome outcome = WrapperOutcome::NoReplyAgain;
    ByteBuffer reply;           // the last attempt's reply as SendRequest gave it (may be empty)
    uint32_t windowsError = 0;  // lastErrorCode as the last attempt left it
};

// Sends with one probe-guarded retry; a time-out counts as no reply.
WrapperResult SendRequestWrapper(HttpClient& httpClient, const char* verb, const char* headers,
                                 const char* path, const char* body, const char* const* acceptTypes,
                                 Logger& logger);
