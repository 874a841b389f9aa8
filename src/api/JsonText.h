#pragma once
#include <rapidjson/document.h>

#include <cstddef>
#include <exception>
#include <string>
#include <vector>

// The flags of every JSON parse, in the DLL and in its tools; a parse adds its
// own to them. Replies, and the logs that hold them, may nest as deep as they
// are long: the recursive parser would need a stack frame per level and
// overflow a thread's stack. Flags named at a call replace the build's
// default ones, so every parse goes through parseJson (tests/layers checks).
inline constexpr unsigned kJsonParseFlags = rapidjson::kParseIterativeFlag;

// `text` up to its first zero byte.
template <unsigned extraFlags = 0>
rapidjson::Document& parseJson(rapidjson::Document& doc, const char* text) {
    return doc.Parse<kJsonParseFlags | extraFlags>(text);
}

// `length` bytes of `text`, zero bytes included.
template <unsigned extraFlags = 0>
rapidjson::Document& parseJson(rapidjson::Document& doc, const char* text, std::size_t length) {
    return doc.Parse<kJsonParseFlags | extraFlags>(text, length);
}

// Event by event, into a SAX handler.
template <unsigned extraFlags = 0, typename Stream, typename Handler>
rapidjson::ParseResult parseJson(rapidjson::Reader& reader, Stream& in, Handler& handler) {
    return reader.Parse<kJsonParseFlags | extraFlags>(in, handler);
}

// A request body that cannot be written as valid JSON (a number that is not
// finite). Nothing is sent for such a body.
class BodyError : public std::exception {
  public:
    explicit BodyError(std::string text) : message(std::move(text)) {}
    const char* what() const noexcept override { return message.c_str(); }
    std::string message;
};

// Closest shortest round-trip digits in rapidjson's layout: "150.0", "0.1",
// "0.30000001192092896", "1e30", "1.5e-7". Throws BodyError when not finite.
std::string formatJsonDouble(double value);

// Compact JSON text of `value`, doubles formatted as above.
std::string writeJsonText(const rapidjson::Value& value);

// The text followed by one zero byte: the form request bodies travel in.
void assignBodyText(std::vector<char>& body, const std::string& text);
