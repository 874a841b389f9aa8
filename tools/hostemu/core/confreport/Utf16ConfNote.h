#pragma once
#include <string>

#include "i18n/Messages.h"

// What a conf.xml saved as UTF-16 means for the till and for support.
std::string utf16ConfNote(const Catalog& catalog = kEnglishCatalog);
