#include "shell/keystrokes.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace tarvex {
namespace {

Keystroke Char(char32_t c) {
  return {Keystroke::Kind::Character, c};
}
const Keystroke kEnter{Keystroke::Kind::Enter, 0};
const Keystroke kTab{Keystroke::Kind::Tab, 0};

TEST(EscapeKeystrokes, BracesEveryCommandCharacterAndNothingElse) {
  struct Case {
    const char* Text;
    const char* Escaped;
  };
  const Case cases[] = {
      {"", ""},
      {"hero.zrd", "hero.zrd"},
      {"C:\\Games\\Kestrune\\hero.zrd", "C:\\Games\\Kestrune\\hero.zrd"},
      {"(", "{(}"},
      {"a(b)c[d]e", "a{(}b{)}c{[}d{]}e"},
      {"+^%~", "{+}{^}{%}{~}"},
      {"{", "{{}"},
      {"}", "{}}"},
      {"{(}", "{{}{(}{}}"},  // one pass: the braces it inserts are not looked at again
      {"p@ss w0rd!", "p@ss w0rd!"},
      {"caf\xC3\xA9~", "caf\xC3\xA9{~}"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(EscapeKeystrokes(c.Text), c.Escaped) << "text: " << c.Text;
  }
}

TEST(ParseKeystrokes, ReadsEnterTabAndBracedCharacters) {
  struct Case {
    const char* Text;
    std::vector<Keystroke> Keys;
  };
  const Case cases[] = {
      {"", {}},
      {"~", {kEnter}},
      {"{TAB}", {kTab}},
      {"a~b", {Char('a'), kEnter, Char('b')}},
      {"{(}{)}{[}{]}", {Char('('), Char(')'), Char('['), Char(']')}},
      {"{{}{}}", {Char('{'), Char('}')}},
      {"{~}{+}{^}{%}", {Char('~'), Char('+'), Char('^'), Char('%')}},
      {"{\xC3\xA9}\xE2\x82\xAC", {Char(U'\u00E9'), Char(U'\u20AC')}},
      // No modifier keys: these are plain characters outside braces.
      {"+^%()[]", {Char('+'), Char('^'), Char('%'), Char('('), Char(')'), Char('['), Char(']')}},
      // Malformed groups are typed as they stand.
      {"{", {Char('{')}},
      {"{a", {Char('{'), Char('a')}},
      {"{ab}", {Char('{'), Char('a'), Char('b'), Char('}')}},
      {"{tab}", {Char('{'), Char('t'), Char('a'), Char('b'), Char('}')}},
      {"}", {Char('}')}},
      // A byte that starts no UTF-8 character reads as U+FFFD; the rest still reads.
      {"\xFFz", {Char(0xFFFD), Char('z')}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ParseKeystrokes(c.Text), c.Keys) << "text: " << c.Text;
  }
}

// Whatever the user typed, its escaped form is typed back exactly, character by character.
TEST(ParseKeystrokes, TypesEveryEscapedTextExactlyAsEntered) {
  const std::string alphabet = "+^%~(){}[]aZ9 .\\:/!@#$&*-_='\"<>?|\t";
  const std::vector<std::string> wide = {"\xC3\xA9", "\xE2\x82\xAC", "\xF0\x9F\x8E\xB2"};
  const std::vector<char32_t> wideCodes = {0xE9, 0x20AC, 0x1F3B2};
  std::mt19937 random(20261206);
  for (int round = 0; round < 2000; ++round) {
    std::string text;
    std::vector<Keystroke> expected;
    const int length = static_cast<int>(random() % 12);
    for (int i = 0; i < length; ++i) {
      const auto pick = random() % (alphabet.size() + wide.size());
      if (pick < alphabet.size()) {
        text += alphabet[pick];
        expected.push_back(Char(static_cast<unsigned char>(alphabet[pick])));
      } else {
        text += wide[pick - alphabet.size()];
        expected.push_back(Char(wideCodes[pick - alphabet.size()]));
      }
    }
    ASSERT_EQ(ParseKeystrokes(EscapeKeystrokes(text)), expected) << "text: " << text;
  }
}

}  // namespace
}  // namespace tarvex
