#pragma once
#include <rapidjson/document.h>

#include <cstdint>
#include <pugixml.hpp>

class Logger;
struct CardInfoRecord;

// Fills the record from a discount reply whose "Status" was 1. Throws
// ReplyFormatError, before writing anything, when a member it reads is
// missing or of another JSON type ("MaxBonus" only counts where conf.xml has a
// BonusAccount).
void fillFromDiscountReply(CardInfoRecord* record, const rapidjson::Value& reply, int64_t clientId,
                           const pugi::xml_node& configuration, Logger& log);
