#include "confreport/Utf16ConfNote.h"

std::string utf16ConfNote(const Catalog& catalog) {
    return formatMessage(catalog, Msg::config_utf16);
}
