#pragma once
// The name of Windows' Internet Options dialog as the till's own Windows shows
// it. Russian Windows renamed it with Internet Explorer 10: «Свойства
// браузера» on Windows 8 and later and on Windows 7 with IE 10 or 11,
// «Свойства обозревателя» before. inetcpl.cpl opens it on every one of them.
#include <cstdint>
#include <string>

#include "i18n/Messages.h"

enum class OptionsDialog {
    Browser,   // «Свойства браузера»
    Observer,  // «Свойства обозревателя»
    Either,    // not known: both are named
};

// `windowsMajor`/`windowsMinor` as the Windows step reads them (0: not known),
// `internetExplorer` IE's major version (0: not known).
OptionsDialog optionsDialog(uint32_t windowsMajor, uint32_t windowsMinor,
                            uint32_t internetExplorer);

// The dialog's name in a sentence ("Internet Options"; «Свойства браузера»).
std::string optionsDialogName(const Catalog& catalog, OptionsDialog dialog);
// The step's label ("internet options"; "свойства браузера").
std::string optionsDialogLabel(const Catalog& catalog, OptionsDialog dialog);

// IE's major version from its registry value svcVersion ("11.0.9600.19597")
// or, without it, Version ("9.0.8112.16421"; IE 10 and 11 write "9.10..." and
// "9.11..." there, so svcVersion comes first); 0 when neither reads.
uint32_t internetExplorerMajor(const std::string& svcVersion, const std::string& version);
