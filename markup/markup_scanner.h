#pragma once

#include "markup/markup_tags.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace markup {

// The drawing font as the tags see it: which of the control's two fonts it
// was copied from, and the styles and size set on it since.
struct TMarkupFont {
    enum TFace : uint8_t { fFont, fHyperLink };
    TFace Face = fFont;
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;
    int32_t Size = 10; // points

    bool operator==(const TMarkupFont&) const = default;
};

// "<IMG": NAME is never empty; WIDTH and HEIGHT are -1 when absent.
struct TImageTag {
    std::string Name;
    int32_t Width = -1;
    int32_t Height = -1;
    std::string Align;
};

// "<INPUT": TYPE is never empty; SIZE is 1 when absent or not a number.
struct TInputTag {
    std::string Type;
    std::string Name;
    std::string Value;
    int32_t Size = 1;
};

// The geometry side of a pass: the scanner tells it what to place and where
// the lines break; pen, wrapping, link areas and drawing are its business.
class TMarkupSink {
public:
    virtual ~TMarkupSink() = default;
    // Places a word at the pen (wrapping first when it does not fit);
    // `advance` moves the pen past it.
    virtual void PlaceWord(std::string_view word, bool advance) = 0;
    virtual void BreakLine() = 0;
    // Opens a link record at the pen: its 1-based number, 0 when it could
    // not be stored.
    virtual int32_t OpenLinkRecord(std::string_view href) = 0;
    virtual void CloseLinkRecord() = 0;
    virtual void PlaceImage(const TImageTag& tag) = 0;
    virtual void PlaceInput(const TInputTag& tag) = 0;
};

// The character loop of one layout pass with its style state: words, the
// space rule, CR LF line breaks, tag collection and tag application.
class TMarkupScanner {
public:
    // `font` and `linkFont` describe the control's Font and HyperLinkFont.
    TMarkupScanner(const TMarkupFont& font, const TMarkupFont& linkFont);

    // Resets the state and scans `text` (up to a zero byte, if any).
    void Run(std::string_view text, TMarkupSink& sink);

    // Applies one recognised tag (only its first 255 characters count).
    void ApplyTag(std::string_view tagText, TMarkupSink& sink);

    const TMarkupFont& Font() const { return font_; }
    int32_t OpenLink() const { return openLink_; }
    bool Hidden() const { return hidden_; }
    int32_t BoldLevel() const { return boldLevel_; }
    int32_t ItalicLevel() const { return italicLevel_; }
    int32_t UnderlineLevel() const { return underlineLevel_; }
    int32_t StrikeLevel() const { return strikeLevel_; }

    // A link ends: no record is open and the drawing font is the control's
    // Font again, underlined only by an open "<U>".
    void EndLink();
    // Record `record` is the open link, drawn in the link font.
    void BeginLink(int32_t record);

private:
    void Reset();
    // False when the word buffer was full and the character was dropped.
    bool Append(char c);
    std::string_view Word() const { return {word_, wordLength_}; }
    void ChangeSize(std::string_view sizeValue);

    TMarkupFont baseFont_;
    TMarkupFont linkFont_;
    TMarkupFont font_;
    char word_[kShortStringMax];
    size_t wordLength_ = 0;
    int32_t boldLevel_ = 0;
    int32_t italicLevel_ = 0;
    int32_t underlineLevel_ = 0;
    int32_t strikeLevel_ = 0;
    bool hidden_ = false;
    int32_t openLink_ = 0;
};

} // namespace markup
