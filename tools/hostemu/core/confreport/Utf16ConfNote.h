#pragma once
#include <string>

// What a conf.xml saved as UTF-16 means for the till and for support.
std::string utf16ConfNote();
