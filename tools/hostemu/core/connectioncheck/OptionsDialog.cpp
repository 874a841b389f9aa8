#include "connectioncheck/OptionsDialog.h"

namespace {

uint32_t leadingNumber(const std::string& text) {
    uint32_t n = 0;
    std::size_t i = 0;
    for (; i < text.size() && i < 4 && text[i] >= '0' && text[i] <= '9'; ++i)
        n = n * 10 + static_cast<uint32_t>(text[i] - '0');
    return i == 0 || (i < text.size() && text[i] != '.') ? 0 : n;
}

}  // namespace

OptionsDialog optionsDialog(uint32_t major, uint32_t minor, uint32_t internetExplorer) {
    const uint32_t version = major * 100 + minor;
    if (version >= 602) return OptionsDialog::Browser;  // Windows 8, Server 2012 and later
    if (version == 601) {                               // Windows 7, Server 2008 R2
        if (internetExplorer >= 10) return OptionsDialog::Browser;
        return internetExplorer >= 8 ? OptionsDialog::Observer : OptionsDialog::Either;
    }
    // XP, Server 2003 and Vista never had IE 10.
    return version != 0 ? OptionsDialog::Observer : OptionsDialog::Either;
}

std::string optionsDialogName(const Catalog& catalog, OptionsDialog dialog) {
    switch (dialog) {
        case OptionsDialog::Browser: return formatMessage(catalog, Msg::options_dialog_browser);
        case OptionsDialog::Observer: return formatMessage(catalog, Msg::options_dialog_observer);
        default: return formatMessage(catalog, Msg::options_dialog_either);
    }
}

std::string optionsDialogLabel(const Catalog& catalog, OptionsDialog dialog) {
    return formatMessage(catalog, dialog == OptionsDialog::Observer
                                      ? Msg::check_label_options_observer
                                      : Msg::check_label_options);
}

uint32_t internetExplorerMajor(const std::string& svcVersion, const std::string& version) {
    const uint32_t svc = leadingNumber(svcVersion);
    return svc != 0 ? svc : leadingNumber(version);
}
