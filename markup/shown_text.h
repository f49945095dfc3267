#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// What a markup text shows, without layout: the words with their spaces and
// hard line breaks, and the links, pictures and input fields in document
// order. Screen readers and the keyboard see the text through this; it runs
// the same scanner as the layout, so hidden passages, ignored tags and link
// numbering agree with what is drawn.
namespace markup {

struct TShownLink {
    std::string HRef; // as the layout stores it: upper case, at most 255 characters
    std::string Text; // the words inside the link, blanks and line breaks folded
    size_t Start = 0; // the link's words in TShownText::Text: [Start, End)
    size_t End = 0;
};

struct TShownInput {
    std::string Type; // upper case
    std::string Name; // upper case, may be empty
};

struct TShownItem {
    enum TKind { skLink, skPicture, skInput };
    TKind Kind;
    size_t Index; // into Links, Pictures or Inputs
};

struct TShownText {
    std::string Text;
    // One per link tag that opened a link; link n (1-based) of a layout pass
    // is Links[n - 1].
    std::vector<TShownLink> Links;
    std::vector<std::string> Pictures; // the NAME of every picture tag
    std::vector<TShownInput> Inputs;   // every input tag with a TYPE
    std::vector<TShownItem> Order;     // all of them as they occur
};

TShownText ExtractShownText(std::string_view text);

} // namespace markup
