#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// Just enough of the markup language to check content: the tags the text
// control recognises, their attributes as it reads them, pictures and the
// choices a question offers.

// Whether the tag text (from "<" to ">") opens one of the recognised tags.
bool IsMarkupTag(std::string_view tag);
// An attribute's value as the control reads it: from the upper-cased tag,
// quotes and spaces skipped, up to its delimiter.
std::string TagAttribute(std::string_view tag, std::string_view name);

struct TFoundName {
    std::string Value; // lower case, as the engine and the picture loader use it
    size_t Offset = 0; // of the tag in the text
};

// Picture names of the "<IMG" tags.
std::vector<TFoundName> PictureNames(std::string_view markup);
// Link targets of the "<A" tags, a nested opening inside a link ignored.
std::vector<TFoundName> LinkTargets(std::string_view markup);

// One link of a text: its target and what it shows (the markup between the
// opening tag and "</a>", or the rest of the text when it is never closed).
struct TLinkContent {
    std::string Target; // lower case
    std::string Inner;
    size_t Offset = 0;
};
std::vector<TLinkContent> LinkContents(std::string_view markup);

// What a choice link shows, for telling choices apart: the names of its
// pictures ("img:" + name), else its visible text without tags, blanks at
// the ends and a leading "a) " label, in lower case.
std::string ShownChoice(std::string_view inner);

// Whether the text has a check box: with check boxes a second tick leaves
// the first ticked while only the last counts, so a question with one
// answer must not use them.
bool HasCheckBox(std::string_view markup);

struct TChoices {
    std::vector<std::string> Texts; // what a click delivers, lower case, none empty
    bool FreeText = false;          // a text field: anything can be typed
};
// What clicks in a question can deliver: link targets, radio and check-box
// values and, with a text field, free text.
TChoices QuestionChoices(std::string_view markup);

// Whether `answer` is exactly `length` choices in a row. An answer in upper
// case or holding "<" can never be given.
bool CanBeAnswered(const TChoices& choices, std::string_view answer, int length);
