#pragma once
#include <rapidjson/document.h>

#include <cstdint>
#include <string>

struct CardInfoRecord;

// {"Phone":N} when the number has exactly 11 characters in "%lld", else
// {"CardToken":N}; N is the argument's bit pattern as an unsigned 64-bit integer.
std::string buildGuestInfoBody(int64_t card);

// Fills the record from a guest reply whose "Status" was 1. Throws
// ReplyFormatError, before writing anything, for a missing or mistyped member.
void fillFromGuestInfo(const rapidjson::Value& reply, CardInfoRecord* record);
