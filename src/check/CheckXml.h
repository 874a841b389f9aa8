#pragma once
#include <cstdint>
#include <pugixml.hpp>
#include <string>
#include <string_view>
#include <vector>

class Logger;

// One host check for the duration of one exported call. Node handles point
// into `doc`, so they live only as long as the reader.
class CheckXml {
  public:
    pugi::xml_document doc;
    pugi::xml_node check;            // top-level CHECK, or empty
    std::vector<int64_t> cardCodes;  // HOLDERS/ITEM "cardcode", in document order
    pugi::xml_node checkData;        // top-level CHECKDATA, or empty
    std::vector<char> inputText;     // the cut text handed to the parser, zero-terminated
    std::string selectedInterface;   // first INTERFACES/INTERFACE "interface", or empty

    // Repairs and parses the host's buffer. Reads at most InpLen bytes and stops
    // at the first zero byte. Every failure ends in one "CHECKXML INIT" line.
    void init(const char* InpBuf, uint32_t InpLen, Logger& log);

    // The INTERFACES block of the host's text; throws AttributeNotFound("interface")
    // when the block lacks its INTERFACE element or attribute.
    void setInterface(std::string_view input, Logger& log);

  private:
    void readHolders(std::string_view input);
    void loadCheck(std::string_view input, Logger& log);
};

// What initCheckXml tells the entry points.
enum class CheckInit {
    // The flow goes on with the reader. init logs its own failures (a missing
    // CHECK or CHECKDATA included) and keeps what it could read.
    Ready,
    // A failure left init, which happens only when even its failure line
    // could not be made (out of memory): the call ends with kCheckInitFailedResult.
    Failed,
};
inline constexpr int32_t kCheckInitFailedResult = 1;

// The entry points' way to initialise a reader. Never throws.
CheckInit initCheckXml(CheckXml& reader, const char* InpBuf, uint32_t InpLen,
                       const std::string& tag, Logger& log) noexcept;
