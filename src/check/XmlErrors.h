#pragma once
#include <exception>
#include <string>
#include <utility>

// Missing XML content in the check or in conf.xml. Handlers read the public
// `message`; what() keeps the standard base's text on purpose, since log lines
// are built from `message` alone.
class XmlElementNotFound : public std::exception {
  public:
    explicit XmlElementNotFound(std::string text) : message(std::move(text)) {}
    std::string message;
};

class NodeNotFound : public XmlElementNotFound {
  public:
    explicit NodeNotFound(const std::string& name)
        : XmlElementNotFound("Node " + name + " not found") {}
};

class AttributeNotFound : public XmlElementNotFound {
  public:
    explicit AttributeNotFound(const std::string& name)
        : XmlElementNotFound("Attribute " + name + " not found") {}
};

class CheckdataNotFound : public XmlElementNotFound {
  public:
    CheckdataNotFound() : XmlElementNotFound("Checkdata not found") {}
};
