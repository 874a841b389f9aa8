#include "logread/RecordDump.h"

#include <rapidjson/document.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <pugixml.hpp>

#include "api/JsonText.h"
#include "config/Config.h"
#include "http/ServicePaths.h"
#include "log/LogEvents.h"

namespace replay {

namespace L = logtag;

namespace {

using Field = RecordDumpLine;
using Type = RecordDumpLine::Kind;
const RecordDumpLine* const kDump = kRecordDump;
const std::size_t kDumpLines = kRecordDumpLines;

bool storeNumber(const Field& f, const std::string& text, unsigned char* base) {
    if (text.empty() || text.size() > 24) return false;
    char* end = nullptr;
    errno = 0;
    uint64_t bits = 0;
    if (f.kind == Type::Signed) {
        const long long v = std::strtoll(text.c_str(), &end, 10);
        bits = static_cast<uint64_t>(v);
    } else {
        if (text[0] == '-') return false;
        bits = std::strtoull(text.c_str(), &end, 10);
        if (f.width < 8 && (bits >> (8 * f.width)) != 0) return false;
    }
    if (errno != 0 || end != text.c_str() + text.size()) return false;
    // Little-endian, as the record is.
    for (std::size_t i = 0; i < f.width; ++i)
        base[f.offset + i] = static_cast<unsigned char>(bits >> (8 * i));
    return true;
}

bool storeText(const Field& f, const std::string& text, unsigned char* base) {
    if (text.size() >= f.width || text.find('\0') != std::string::npos) return false;
    std::memset(base + f.offset, 0, f.width);
    std::memcpy(base + f.offset, text.data(), text.size());
    return true;
}

int atoiOf(const pugi::xml_node& node) { return std::atoi(node.child_value()); }

void zero(CardInfoRecord& r, std::size_t offset, std::size_t width) {
    std::memset(reinterpret_cast<unsigned char*>(&r) + offset, 0, width);
}
#define ZERO(r, name) zero(r, offsetof(CardInfoRecord, name), sizeof(CardInfoRecord::name))

void zeroSubAccount(CardInfoRecord& r, int subAccount) {
    if (subAccount < 1 || subAccount > 8) return;
    zero(r, offsetof(CardInfoRecord, Access_amount) + 8 * static_cast<std::size_t>(subAccount - 1),
         8);
}

// Whether the last message of the call's own tag is `event`.
bool endsWithMessage(const Call& call, const char* tag, logevent::Event event) {
    for (std::size_t i = call.entries.size(); i-- > 0;) {
        const LogEntry& e = call.entries[i];
        if (e.kind == LogEntry::Kind::Message && e.tag == tag) return e.is(event);
    }
    return false;
}

const Attempt* lastReplied(const Call& call, const char* pathPrefix) {
    const Attempt* found = nullptr;
    for (const Attempt& a : call.attempts)
        if (a.outcome == Attempt::Outcome::Replied && a.path.rfind(pathPrefix, 0) == 0 && !a.direct)
            found = &a;
    return found;
}

}  // namespace

bool parseRecordDump(const std::string& body, CardInfoRecord& record) {
    CardInfoRecord r{};
    unsigned char* base = reinterpret_cast<unsigned char*>(&r);
    std::size_t pos = 0;
    for (std::size_t i = 0; i < kDumpLines; ++i) {
        const Field& f = kDump[i];
        const std::string head = std::string(f.label) + ": ";
        if (body.compare(pos, head.size(), head) != 0) return false;
        pos += head.size();
        // A text may hold line feeds and semicolons: it ends where the next line's label starts.
        std::size_t end;
        if (i + 1 < kDumpLines) {
            end = body.find(std::string(";\n") + kDump[i + 1].label + ": ", pos);
        } else {
            end = body.size() >= pos + 2 ? body.size() - 2 : std::string::npos;
            if (end != std::string::npos && body.compare(end, 2, ";\n") != 0)
                end = std::string::npos;
        }
        if (end == std::string::npos) return false;
        const std::string value = body.substr(pos, end - pos);
        if (!(f.kind == Type::Text ? storeText(f, value, base) : storeNumber(f, value, base)))
            return false;
        pos = end + 2;
    }
    record = r;
    return pos == body.size();
}

void prepareRecord(Call& call) {
    CardInfoRecord& r = call.record;
    r = CardInfoRecord{};
    r.Size = sizeof(CardInfoRecord);
    for (const LogEntry& e : call.entries) {
        if (e.kind == LogEntry::Kind::Dump && parseRecordDump(e.body, r)) break;
    }
    // Cleared by every lookup.
    r.Deleted = r.Need_withdraw = r.Expired = r.Not_valid = r.Manager_confirm = 0;
    if (endsWithMessage(call, L::kGetCardInfoEx, logevent::Event::BlockedCard)) {
        ZERO(r, Blocked);
        ZERO(r, Block_reason);
    }
    if (!endsWithMessage(call, L::kGetCardInfoEx, logevent::Event::LookupEnded)) return;

    const Attempt* discount = lastReplied(call, servicepath::kGetDiscount);
    bool askedDiscount = false;
    for (const Attempt& a : call.attempts)
        askedDiscount |= a.path.rfind(servicepath::kGetDiscount, 0) == 0;
    if (!askedDiscount) {
        if (lastReplied(call, servicepath::kGuestInfo) == nullptr) return;
        ZERO(r, Not_pay_type);
        ZERO(r, Owner_id);
        ZERO(r, Account_number);
        ZERO(r, Screen_comment);
        ZERO(r, Discount_num);
        ZERO(r, Bonus_num);
        ZERO(r, Access_amount);
        ZERO(r, Max_discount);
        ZERO(r, Card_owner);
        return;
    }
    if (discount == nullptr) return;
    ZERO(r, Blocked);
    ZERO(r, Card_owner);
    ZERO(r, Owner_id);
    ZERO(r, Account_number);
    ZERO(r, Not_pay_type);
    ZERO(r, Bonus_num);
    ZERO(r, Discount_num);
    ZERO(r, Max_discount);
    ZERO(r, Screen_comment);
    ZERO(r, Printer_comment);
    rapidjson::Document reply;
    parseJson(reply, discount->reply.c_str());
    if (!reply.HasParseError() && reply.IsObject() && reply.HasMember("Message")) ZERO(r, Comment);
    pugi::xml_document doc;
    if (call.configPresent && loadConfigText(call.config(), doc)) {
        const pugi::xml_node conf = configurationOf(doc);
        for (pugi::xml_node b = conf.child("BonusAccount"); b; b = b.next_sibling("BonusAccount"))
            zeroSubAccount(r, atoiOf(b.child("CardSubAccount")));
        zeroSubAccount(r, atoiOf(conf.child("DepositAccount").child("CardSubAccount")));
    }
}

}  // namespace replay
