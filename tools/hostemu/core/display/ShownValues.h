#pragma once
// Values as hostemu's reports show them.
#include <string>

#include "i18n/Messages.h"

// Text in double quotes with line feeds, returns and tabs made visible.
std::string quoted(const std::string& text);

// A token as it may be shown to a screen: its start and end kept, the middle
// starred, its length named.
std::string maskToken(const std::string& token, const Catalog& catalog = kEnglishCatalog);

// True when atoi would read exactly what is written: an optional sign and digits.
bool isPlainInteger(const std::string& text);

// True for text with blanks, tabs or line feeds anywhere in it.
bool hasWhiteSpace(const std::string& text);
