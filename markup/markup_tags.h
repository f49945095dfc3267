#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// The tag vocabulary of the markup language. Tags are recognised by their
// opening only, so "<ABBR>" counts as a link and "<IMGX" as a picture; what
// is not recognised is shown as text, brackets included.
namespace markup {

// Words, tags and attribute values are short strings.
inline constexpr size_t kShortStringMax = 255;

// True when the upper-cased tag text begins with one of the 16 openings.
bool IsMarkupTag(std::string_view tagText);

// The value of one attribute (its name includes the "=") in an upper-cased
// tag: found by a plain substring search, leading quotes and spaces skipped,
// cut at its closing quote, or for an unquoted value at the first quote,
// space or ">". Empty when absent.
std::string GetTagAttribute(std::string_view upperTag, std::string_view attrName);

// A decimal whole number with an optional sign (leading spaces allowed), or
// `def` for anything else, including values outside 32 bits.
int32_t ReadIntDef(std::string_view text, int32_t def);

} // namespace markup
