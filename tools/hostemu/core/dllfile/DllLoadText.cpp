#include "dllfile/DllLoadText.h"

#include <optional>
#include <string>

namespace {

// The errors LoadLibrary gives for a DLL at a till. Windows' own texts are in
// the console's language and say little; ours say what each means here, with
// the next step where there is one.
struct Meaning {
    unsigned long error;
    Msg meaning;
    std::optional<Msg> advice;
};

const Meaning kMeanings[] = {
    {2, Msg::dll_meaning_2, std::nullopt},
    {3, Msg::dll_meaning_3, std::nullopt},
    {5, Msg::dll_meaning_5, Msg::dll_advice_5},
    {126, Msg::dll_meaning_126, Msg::dll_advice_126},
    {127, Msg::dll_meaning_127, Msg::dll_advice_127},
    {193, Msg::dll_meaning_193, Msg::dll_advice_193},
    {1114, Msg::dll_meaning_1114, std::nullopt},
};

}  // namespace

std::string dllLoadFailure(const std::string& path, unsigned long error, const Catalog& catalog) {
    const std::string code = std::to_string(error);
    for (const Meaning& m : kMeanings) {
        if (m.error != error) continue;
        std::string text = formatMessage(
            catalog, Msg::dll_load_failed_meaning,
            {{"path", path}, {"code", code}, {"meaning", formatMessage(catalog, m.meaning)}});
        if (m.advice) text += formatMessage(catalog, *m.advice);
        return text;
    }
    return formatMessage(catalog, Msg::dll_load_failed, {{"path", path}, {"code", code}});
}
