#pragma once
#include <rapidjson/document.h>

#include <exception>
#include <string>
#include <vector>

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
