#include "dllfile/DllLoadText.h"

#include <string>

namespace {

// The errors LoadLibrary gives for a DLL at a till. Windows' own texts are in
// the console's language and say little; ours say what each means here
// (messages dll.meaning-N), with the next step where there is one
// (dll.advice-N).
struct Meaning {
    unsigned long error;
    bool advice;
};

const Meaning kMeanings[] = {
    {2, false}, {3, false}, {5, true}, {126, true}, {127, true}, {193, true}, {1114, false},
};

}  // namespace

std::string dllLoadFailure(const std::string& path, unsigned long error, const Catalog& catalog) {
    const std::string code = std::to_string(error);
    for (const Meaning& m : kMeanings) {
        if (m.error != error) continue;
        std::string text =
            formatMessage(catalog, "dll.load-failed-meaning",
                          {{"path", path},
                           {"code", code},
                           {"meaning", formatMessage(catalog, "dll.meaning-" + code)}});
        if (m.advice) text += formatMessage(catalog, "dll.advice-" + code);
        return text;
    }
    return formatMessage(catalog, "dll.load-failed", {{"path", path}, {"code", code}});
}
