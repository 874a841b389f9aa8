#include "check/CheckXml.h"

#include <cstdio>
#include <optional>

#include "check/Accessors.h"
#include "check/InputCut.h"
#include "http/LastError.h"
#include "log/CFile.h"
#include "log/LogEvents.h"
#include "log/Logger.h"

namespace {
void loadBlock(pugi::xml_document& document, std::string_view block) {
    // Same as load_string on a zero-terminated copy: UTF-8, default options.
    document.load_buffer(block.data(), block.size(), pugi::parse_default, pugi::encoding_utf8);
}

void writeDebugCopy(const char* name, const std::vector<char>& text) {
    // Binary mode: the file holds exactly the parsed bytes on every platform.
    if (CFile out = openCFile(name, "wb")) std::fwrite(text.data(), 1, text.size() - 1, out.get());
}
}  // namespace

void CheckXml::init(const char* InpBuf, uint32_t InpLen, Logger& log) {
    try {
        std::string_view input = hostText(InpBuf, InpLen);
        setInterface(input, log);
        readHolders(input);
        loadCheck(input, log);
    } catch (...) {
        log.log(logevent::Event::CheckReaderThrew, {{"code", std::to_string(lastErrorCode)}});
    }
}

void CheckXml::setInterface(std::string_view input, Logger& log) {
    log.log(logevent::Event::SetInterfaceStart);
    std::optional<std::string_view> block = extractBlock(input, "<INTERFACES", "</INTERFACES>");
    if (!block) return;
    pugi::xml_document interfaces;
    loadBlock(interfaces, *block);
    selectedInterface =
        getAttributeString(interfaces.child("INTERFACES").child("INTERFACE"), "interface");
    log.log(logevent::Event::SetInterfaceEnd);
}

void CheckXml::readHolders(std::string_view input) {
    std::optional<std::string_view> block = extractBlock(input, "<HOLDERS", "</HOLDERS>");
    if (!block) return;
    pugi::xml_document holders;
    loadBlock(holders, *block);
    for (pugi::xml_node item : holders.child("HOLDERS").children("ITEM"))
        cardCodes.push_back(getAttributeInt64(item, "cardcode"));
}

void CheckXml::loadCheck(std::string_view input, Logger& log) {
    CheckCut cut = cutCheck(input);

    inputText.clear();
    inputText.reserve(cut.prefixLength + cut.patch.size() + 1);
    inputText.insert(inputText.end(), input.begin(), input.begin() + cut.prefixLength);
    inputText.insert(inputText.end(), cut.patch.begin(), cut.patch.end());
    inputText.push_back('\0');

    if (cut.dumpTag)
        log.logParsedXml(cut.dumpTag, std::string_view(inputText.data(), inputText.size() - 1));
    if (cut.debugFile) writeDebugCopy(cut.debugFile, inputText);
    doc.load_string(inputText.data());
    if (cut.caseNumber == 1) inputText.clear();

    // Both are stored before either is tested: a CHECKDATA beside a missing
    // CHECK stays available.
    check = doc.child("CHECK");
    if (cut.lookUpCheckData) checkData = doc.child("CHECKDATA");
    if (!check) throw NodeNotFound("CHECK");
    if (!checkData) throw CheckdataNotFound();
    inputText.clear();
}
