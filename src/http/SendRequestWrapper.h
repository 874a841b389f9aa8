#pragma once
#include "http/HttpClient.h"

class Logger;
struct CardInfoRecord;

// Sends with one probe-guarded retry; never lets TimeoutExceeded out.
// 0: reply in `reply`; 1: no reply and no internet; -1: no reply twice.
int SendRequestWrapper(CardInfoRecord* record, ByteBuffer& reply, HttpClient& httpClient,
                       const char* verb, const char* headers, const char* path, const char* body,
                       const char* const* acceptTypes, Logger& logger);
