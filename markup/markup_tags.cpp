#include "markup/markup_tags.h"

#include "platform/ansi.h"
#include "platform/numbers.h"

#include <algorithm>
#include <array>

namespace markup {

namespace {

constexpr std::array<std::string_view, 16> kOpenings = {
    "<B>",   "</B>",   "<I>",  "</I>",   "<U>",    "</U>", "<S>",  "</S>",
    "<FONT", "</FONT", "<IMG", "<HIDE>", "<SHOW>", "<A",   "</A>", "<INPUT"};

// The longest opening; no more of a tag is needed to recognise it.
constexpr size_t kLongestOpening = 6;

} // namespace

bool IsMarkupTag(std::string_view tagText) {
    char upper[kLongestOpening];
    const size_t n = std::min(tagText.size(), kLongestOpening);
    for (size_t i = 0; i < n; ++i)
        upper[i] = plat::AnsiUpperChar(tagText[i]);
    const std::string_view head(upper, n);
    for (std::string_view opening : kOpenings)
        if (head.starts_with(opening))
            return true;
    return false;
}

std::string GetTagAttribute(std::string_view upperTag, std::string_view attrName) {
    const size_t at = upperTag.find(attrName);
    if (at == std::string_view::npos)
        return {};
    std::string_view value = upperTag.substr(at + attrName.size());
    char quote = 0;
    while (!value.empty() && (value[0] == '"' || value[0] == '\'' || value[0] == ' ')) {
        if (value[0] != ' ')
            quote = value[0];
        value.remove_prefix(1);
    }
    // A quoted value ends at its own quote, so it may hold spaces and the
    // other quote; an unquoted one at the first quote or space. Only what
    // lies before the ">" counts; a tag cut at 255 characters may have lost
    // its ">", and the value then runs to its delimiter or to the end.
    const size_t gt = value.find('>');
    const size_t end =
        std::min(gt, quote ? value.find(quote) : value.find_first_of(std::string_view("\"' ")));
    return std::string(value.substr(0, end));
}

int32_t ReadIntDef(std::string_view text, int32_t def) {
    while (!text.empty() && text[0] == ' ')
        text.remove_prefix(1);
    return plat::StrToIntDef(text, def);
}

} // namespace markup
