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

// What the card lookup makes of a parsed GuestInfo reply, and so what it logs
// (its row of log/LogEvents.h beside each) and returns.
enum class GuestReply {
    NotJson,      // Event::GuestInfoNotOk, result 1
    Found,        // "Status" 1: the guest's record is filled
    Blocked,      // "Status" 2 with the blocking text: Event::BlockedCard, result 0
    Refused,      // "Status" 2 with another text: Event::GuestStatus2, result 1
    OtherStatus,  // Event::GuestStatusNot1, result 1
};

// Throws ReplyFormatError for a "Status" that is missing or no 32-bit integer,
// or a "Status" 2 without a string "ErrorMessage" (the flows' catch-all line
// Event::ReplyNotUsable, result 1).
GuestReply readGuestReply(const rapidjson::Document& reply);

// The line the lookup logs for the reply; empty for Found.
const char* guestReplyLogLine(GuestReply reply);

// The service's refusal of a blocked card, in Windows-1251.
extern const char kBlockedCardText[];
