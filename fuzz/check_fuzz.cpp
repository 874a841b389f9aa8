// Arbitrary host buffers through initCheckXml and then through every read the
// flows make on the check. The buffer is allocated with exactly InpLen bytes, so
// ASan reports any read past the host's length.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>

#include "WorkDir.h"
#include "check/Accessors.h"
#include "check/CheckXml.h"
#include "log/Logger.h"

namespace {

// Reads that may legitimately find nothing; only a crash or a sanitizer report matters.
template <typename F>
void tolerant(F read) {
    try {
        read();
    } catch (const XmlElementNotFound&) {
    }
}

void readEverything(CheckXml& reader) {
    tolerant([&] { getPaymentAccount(reader, {1, 2, 5, 0, -1}); });
    tolerant([&] { (void)getAttributeString(reader.check, "restaurantcode"); });
    tolerant([&] { (void)getAttributeInt(reader.check, "chmode"); });
    for (const char* name : {"orderguid", "checknum", "closedatetime"})
        tolerant([&] { (void)getAttributeString(reader.checkData, name); });
    if (reader.checkData.attribute("order_cat"))
        (void)getAttributeInt(reader.checkData, "order_cat");

    pugi::xml_node data = reader.checkData;
    for (pugi::xml_node payment : data.child("CHECKPAYMENTS").children("PAYMENT")) {
        tolerant([&] { (void)getAttributeInt(payment, "code"); });
        if (payment.attribute("sum")) (void)getAttributeFloat(payment, "sum");
    }
    for (pugi::xml_node discount : data.child("CHECKDISCOUNTS").children("DISCOUNT"))
        tolerant([&] { (void)getAttributeFloat(discount, "sum"); });

    for (pugi::xml_node line : data.child("CHECKLINES").children()) {
        if (line.type() != pugi::node_element) continue;
        (void)line.attribute("parent");
        for (const char* name : {"type", "id", "name", "servprint_id", "servprint"})
            tolerant([&] { (void)getAttributeString(line, name); });
        for (const char* name : {"quantity", "price", "sum"})
            tolerant([&] { (void)getAttributeFloat(line, name); });
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzsupport::enterWorkDir("check");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    std::unique_ptr<char[]> buffer(new char[size == 0 ? 1 : size]);
    if (size != 0) std::memcpy(buffer.get(), data, size);

    Logger log;
    CheckXml reader;
    const CheckInit result = initCheckXml(reader, size == 0 ? nullptr : buffer.get(),
                                          static_cast<uint32_t>(size), "GetCardInfoEx", log);
    // init logs and swallows its own failures, so only a failed log line could
    // give anything but Ready.
    if (result != CheckInit::Ready) __builtin_trap();
    // The elements are looked up at the top level of the document only.
    if (reader.check && reader.check.parent() != reader.doc) __builtin_trap();
    if (reader.checkData && reader.checkData.parent() != reader.doc) __builtin_trap();
    if (!reader.inputText.empty() && reader.inputText.back() != '\0') __builtin_trap();

    readEverything(reader);
    static unsigned runs = 0;
    if (++runs % 512 == 0) std::remove(kLogFileName);  // keep the log small
    return 0;
}
