#include "engine/utf8.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace tarvex {
namespace {

// The characters of `text`, read one after the other from its start.
std::u32string Characters(std::string_view text) {
  std::u32string characters;
  for (std::size_t at = 0; at < text.size();) characters += NextCharacter(text, at);
  return characters;
}

TEST(NextCharacter, ReadsEachWellFormedSequenceAsItsCharacter) {
  const std::pair<const char*, char32_t> cases[] = {
      {"\x7F", 0x7F},
      {"\xC2\x80", 0x80},
      {"\xC3\xA9", 0xE9},
      {"\xDF\xBF", 0x7FF},
      {"\xE0\xA0\x80", 0x800},
      {"\xE2\x82\xAC", 0x20AC},
      {"\xED\x9F\xBF", 0xD7FF},
      {"\xEE\x80\x80", 0xE000},
      {"\xEF\xBF\xBF", 0xFFFF},
      {"\xF0\x90\x80\x80", 0x10000},
      {"\xF0\x9F\x8E\xB2", 0x1F3B2},
      {"\xF4\x8F\xBF\xBF", 0x10FFFF},
  };
  for (const auto& [text, character] : cases) {
    const std::string twice = std::string(text) + text;
    std::size_t at = 0;
    EXPECT_EQ(NextCharacter(twice, at), character) << twice;
    EXPECT_EQ(at, twice.size() / 2) << "moved past the first only: " << twice;
    EXPECT_EQ(Characters(twice), std::u32string(2, character)) << twice;
  }
}

// Each byte that starts no well-formed sequence is one replacement character, and what follows
// it reads as it would alone: a continuation byte where a sequence breaks off starts afresh.
TEST(NextCharacter, EachByteOfAnIllFormedSequenceReadsAsOneReplacement) {
  constexpr char32_t R = kReplacementCharacter;
  const std::pair<const char*, std::u32string> cases[] = {
      {"\x80z", {R, U'z'}},                // a continuation byte alone
      {"\xC0\xAF", {R, R}},                // a lead byte that only starts overlong forms
      {"\xC1\xBF", {R, R}},                // the other one
      {"\xE0\x9F\xBF", {R, R, R}},         // overlong, three bytes
      {"\xF0\x8F\xBF\xBF", {R, R, R, R}},  // overlong, four bytes
      {"\xED\xA0\x80", {R, R, R}},         // a surrogate
      {"\xF4\x90\x80\x80", {R, R, R, R}},  // beyond U+10FFFF
      {"\xF5\x80\x80\x80", {R, R, R, R}},  // a lead byte past the last plane
      {"\xFE\xFF", {R, R}},                // bytes that UTF-8 never uses
      {"\xC3z", {R, U'z'}},                // broken off by a character at once
      {"\xE2\x82z", {R, R, U'z'}},         // broken off after two bytes
      {"\xE2\xC3\xA9", {R, 0xE9}},         // broken off by another sequence
      {"z\xF0\x9F\x8E", {U'z', R, R, R}},  // cut by the text's end
  };
  for (const auto& [text, characters] : cases) EXPECT_EQ(Characters(text), characters) << text;
}

}  // namespace
}  // namespace tarvex
