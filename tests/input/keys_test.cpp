// GLFW-2 key numbers to key codes, and key codes to queued characters.
#include <gtest/gtest.h>

#include "input/keys.h"

TEST(TransKey, DigitsAndCapitalLettersKeepTheirCodes) {
    for (int c = '0'; c <= '9'; ++c) EXPECT_EQ(TransKey(c), c);
    for (int c = 'A'; c <= 'Z'; ++c) EXPECT_EQ(TransKey(c), c);
}

TEST(TransKey, PunctuationSharesCodesOfItsKey) {
    EXPECT_EQ(TransKey(' '), 32);
    EXPECT_EQ(TransKey('"'), 222);
    EXPECT_EQ(TransKey('\''), 222);
    EXPECT_EQ(TransKey(','), 188);
    EXPECT_EQ(TransKey('-'), 189);
    EXPECT_EQ(TransKey('.'), 190);
    EXPECT_EQ(TransKey('/'), 191);
    EXPECT_EQ(TransKey(';'), 186);
    EXPECT_EQ(TransKey('='), 187);
    EXPECT_EQ(TransKey('['), 219);
    EXPECT_EQ(TransKey('\\'), 220);
    EXPECT_EQ(TransKey(']'), 221);
    EXPECT_EQ(TransKey('`'), 192);
    EXPECT_EQ(TransKey('~'), 192);
}

TEST(TransKey, SpecialKeys) {
    EXPECT_EQ(TransKey(257), 27);  // ESC
    for (int i = 0; i < 12; ++i) EXPECT_EQ(TransKey(258 + i), 112 + i) << "F" << i + 1;
    EXPECT_EQ(TransKey(283), 38);  // UP
    EXPECT_EQ(TransKey(284), 40);  // DOWN
    EXPECT_EQ(TransKey(285), 37);  // LEFT
    EXPECT_EQ(TransKey(286), 39);  // RIGHT
    EXPECT_EQ(TransKey(287), 16);  // LSHIFT
    EXPECT_EQ(TransKey(288), 16);  // RSHIFT
    EXPECT_EQ(TransKey(289), 17);  // LCTRL
    EXPECT_EQ(TransKey(290), 17);  // RCTRL
    EXPECT_EQ(TransKey(293), 9);   // TAB
    EXPECT_EQ(TransKey(294), 13);  // ENTER
    EXPECT_EQ(TransKey(295), 8);   // BACKSPACE
    EXPECT_EQ(TransKey(296), 45);  // INSERT
    EXPECT_EQ(TransKey(297), 46);  // DEL
    EXPECT_EQ(TransKey(298), 33);  // PAGEUP
    EXPECT_EQ(TransKey(299), 34);  // PAGEDOWN
    EXPECT_EQ(TransKey(300), 36);  // HOME
    EXPECT_EQ(TransKey(301), 35);  // END
}

TEST(TransKey, Keypad) {
    for (int i = 0; i < 10; ++i) EXPECT_EQ(TransKey(302 + i), 96 + i) << "KP_" << i;
    EXPECT_EQ(TransKey(312), 111);  // divide
    EXPECT_EQ(TransKey(313), 106);  // multiply
    EXPECT_EQ(TransKey(314), 109);  // subtract
    EXPECT_EQ(TransKey(315), 107);  // add
    EXPECT_EQ(TransKey(316), 110);  // decimal
}

TEST(TransKey, UnmappedKeysGiveZero) {
    EXPECT_EQ(TransKey('a'), 0);
    EXPECT_EQ(TransKey('z'), 0);
    EXPECT_EQ(TransKey('!'), 0);
    EXPECT_EQ(TransKey(270), 0);  // F13
    EXPECT_EQ(TransKey(282), 0);  // F25
    EXPECT_EQ(TransKey(291), 0);  // LALT
    EXPECT_EQ(TransKey(292), 0);  // RALT
    EXPECT_EQ(TransKey(317), 0);  // KP_EQUAL: past the table
    EXPECT_EQ(TransKey(318), 0);  // KP_ENTER
    EXPECT_EQ(TransKey(256), 0);
    EXPECT_EQ(TransKey(31), 0);
    EXPECT_EQ(TransKey(0), 0);
    EXPECT_EQ(TransKey(-1), 0);
    EXPECT_EQ(TransKey(1 << 30), 0);
}

TEST(KeyToChar, ControlKeysGiveThemselves) {
    EXPECT_EQ(KeyToChar(8), 8);
    EXPECT_EQ(KeyToChar(9), 9);
    EXPECT_EQ(KeyToChar(13), 13);
    EXPECT_EQ(KeyToChar(27), 27);
}

TEST(KeyToChar, CursorAndEditingKeysGiveOffsetCharacters) {
    for (int code = 33; code <= 40; ++code) EXPECT_EQ(KeyToChar(code), 65536 + code);
    EXPECT_EQ(KeyToChar(45), 65536 + 45);
    EXPECT_EQ(KeyToChar(46), 127);  // delete
}

TEST(KeyToChar, OtherCodesGiveZero) {
    for (int code : {0, 1, 7, 10, 16, 17, 26, 28, 32, 41, 44, 47, 48, 65, 90, 112, 222, 384, 511, -1})
        EXPECT_EQ(KeyToChar(code), 0) << code;
}

TEST(KeyToChar, TranslatedPressesQueueTheDocumentedCharacters) {
    EXPECT_EQ(KeyToChar(TransKey(286)), 65575);  // right arrow
    EXPECT_EQ(KeyToChar(TransKey(297)), 127);    // delete
    EXPECT_EQ(KeyToChar(TransKey(295)), 8);      // backspace
    EXPECT_EQ(KeyToChar(TransKey('A')), 0);      // printable: from the character callback
}
