#pragma once
// Paragraphs laid out for a console: the catalog's texts carry no line breaks
// or indentation of their own, so that each language's text is written once
// and fits any window.
#include <cstddef>
#include <string>

// The width the help is laid out for when the output is not a console window.
inline constexpr std::size_t kDefaultTextWidth = 80;

// `text` as lines of at most `width` displayed characters (UTF-8 characters,
// not bytes), `indent` blanks included, each line ending in a line feed.
// Lines break only at blanks: a word longer than a line stands alone on its
// line, whole; a dash standing alone stays at the end of the line before it.
// A line feed in `text` ends a paragraph: the next one starts on
// a line of its own. Runs of blanks between words count as one.
std::string wrapText(const std::string& text, std::size_t width, std::size_t indent = 0);

// One line of text that may run on: `text` as its first line gives it
// (leading blanks kept), the words that do not fit on lines indented by
// `hanging` blanks ("usage: hostemu ..." continues under its first argument).
std::string wrapHanging(const std::string& text, std::size_t width, std::size_t hanging);
