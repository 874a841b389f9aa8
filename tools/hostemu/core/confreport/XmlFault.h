#pragma once
// What the XML parser found wrong with a file, in the reader's language.
#include <pugixml.hpp>
#include <string>

#include "i18n/Messages.h"

// English keeps the parser's own description; other languages say it in
// their words.
std::string xmlFaultText(const pugi::xml_parse_result& result, const Catalog& catalog);
