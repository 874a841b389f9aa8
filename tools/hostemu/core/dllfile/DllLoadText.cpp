#include "dllfile/DllLoadText.h"

namespace {

struct Meaning {
    unsigned long error;
    const char* text;
    const char* advice;  // null: none beyond the meaning
};

// The errors LoadLibrary gives for a DLL at a till. Windows' own texts are in
// the console's language and say little; these say what it means here.
const Meaning kMeanings[] = {
    {2, "the file was not found", nullptr},
    {3, "the folder was not found", nullptr},
    {5, "access denied", "  Run hostemu as a user who may read the DLL's folder.\n"},
    {126, "the DLL, or a DLL it needs, was not found",
     "  If the host loads brisvane.dll from another folder than its working folder, name\n"
     "  the DLL: hostemu --dll \"C:\\Path To\\brisvane.dll\" \"C:\\Host Folder\" <command> ...\n"
     "  (a path with blanks needs the quotes). Else copy brisvane.dll into the folder.\n"},
    {127, "a function the DLL needs is missing from this Windows",
     "  Tell support which Windows the till runs: the DLL as built cannot run on it.\n"},
    {193, "not a 32-bit Windows DLL (a 64-bit build or a damaged file)",
     "  Copy brisvane.dll again from the release folder, as a whole file: hostemu and the\n"
     "  host are 32-bit programs and load only the 32-bit DLL.\n"},
    {1114, "the DLL failed while starting", nullptr},
};

}  // namespace

std::string dllLoadFailure(const std::string& path, unsigned long error) {
    std::string text = "hostemu: cannot load " + path + " (error " + std::to_string(error);
    for (const Meaning& m : kMeanings) {
        if (m.error != error) continue;
        text += std::string(": ") + m.text + ")\n";
        if (m.advice) text += m.advice;
        return text;
    }
    return text + ")\n";
}
