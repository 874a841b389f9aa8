// Paragraphs laid out by code: widths in characters, words never split.
#include "cli/Wrap.h"

#include <gtest/gtest.h>

TEST(Wrap, BreaksAtBlanksWithinTheWidth) {
    struct Case {
        const char* text;
        std::size_t width, indent;
        const char* wrapped;
    };
    const Case cases[] = {
        {"one two three four", 9, 0, "one two\nthree\nfour\n"},
        {"one two three four", 13, 0, "one two three\nfour\n"},  // a line may fill the width
        {"one two three", 9, 2, "  one two\n  three\n"},         // the indent counts
        {"  one   two ", 80, 2, "  one two\n"},                  // the text's own blanks do not
        // Characters, not bytes: ten Cyrillic letters are twenty bytes.
        {"абвгдеёжзи абв абв", 14, 0, "абвгдеёжзи абв\nабв\n"},
        {"ж ж ж", 3, 0, "ж ж\nж\n"},
        // A word longer than the line stands alone, whole.
        {"a HOSTEMU_REPLAY_ADDRESS b", 10, 2, "  a\n  HOSTEMU_REPLAY_ADDRESS\n  b\n"},
        // No line starts with a dash: it goes with the word before it.
        {"показывает заголовок — функцию", 20, 0, "показывает\nзаголовок — функцию\n"},
        // A line feed ends a paragraph.
        {"one two\nthree", 80, 1, " one two\n three\n"},
        {"", 80, 2, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(wrapText(c.text, c.width, c.indent), c.wrapped);
    }
}

// A line that runs on continues under the column it names; its own leading
// blanks stay.
TEST(Wrap, HangsTheRestOfALongLine) {
    EXPECT_EQ(wrapHanging("usage: hostemu <folder> lookup <card> <check.xml>", 33, 15),
              "usage: hostemu <folder> lookup\n               <card> <check.xml>\n");
    EXPECT_EQ(wrapHanging("       hostemu <папка> check", 80, 15),
              "       hostemu <папка> check\n");
}
