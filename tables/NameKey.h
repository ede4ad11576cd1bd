// Case-blind names: the upper-case mapping of the tables and the sort key built from it.
//
// Names are UTF-8 text. Two names match when their upper-case forms are equal, and names sort
// by their upper-case forms in ordinal order of UTF-16 code units: unit by unit by numeric value,
// a proper prefix first. The mapping is built in, the same on every platform, and never depends
// on the C locale.
//
// Upper case. These lower-case letters map to their Unicode simple upper-case letter; every other
// character stays as it is:
//   - Basic Latin: a-z.
//   - Latin-1 Supplement: U+00E0-U+00FE except U+00F7 (division sign); U+00FF to U+0178;
//     U+00B5 (micro sign) to U+039C. U+00DF (sharp s) has no one-letter upper case and stays.
//   - Latin Extended-A (U+0100-U+017F): every lower-case letter of a case pair; U+0131 (dotless
//     i) to I and U+017F (long s) to S. U+0138 and U+0149 stay.
//   - Greek: U+03AC-U+03CE (the basic small letters, accented ones, final sigma to U+03A3);
//     U+0390 and U+03B0 stay.
//   - Cyrillic: U+0430-U+045F.
// Everything else (fullwidth forms, Latin Extended-B and beyond, Armenian, ...) is left as it is,
// and so is every character above U+FFFF.
//
// Order. Code point order and UTF-16 order agree within U+0000-U+FFFF. A character above U+FFFF
// is a surrogate pair in UTF-16 (U+D800-U+DFFF), so it sorts after U+D7FF and before U+E000-U+FFFF,
// exactly as the ordinal UTF-16 compare has it.
//
// Bytes that are not valid UTF-8 (a stray continuation byte, a cut sequence, an overlong form, an
// encoded surrogate) each stand for the lone code unit U+DC00 + byte (U+DC80-U+DCFF), so that
// distinct names never get the same key.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tarvex {

// The upper-case form of one code point under the mapping above.
char32_t UpperCase(char32_t codePoint) noexcept;

// The sort key of `name`: its upper-case form as UTF-16 code units, each unit written the way
// UTF-8 writes a value of up to 16 bits (1 to 3 bytes; a surrogate pair takes 6). Comparing two
// keys as byte strings (std::string's operator<) gives the ordinal UTF-16 order of the upper-case
// names, and equal keys mean matching names. For ASCII names the key is the upper-cased name.
std::string NameKey(std::string_view name);

// The first eight bytes of `key` as a big-endian number, zero-filled for shorter keys. When the
// prefixes of two keys differ, they order the keys; when they are equal, the keys must be compared.
std::uint64_t KeyPrefix(std::string_view key) noexcept;

}  // namespace tarvex
