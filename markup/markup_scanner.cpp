#include "markup/markup_scanner.h"

#include "platform/ansi.h"

#include <algorithm>

namespace markup {

namespace {

// Far beyond any usable size, but small enough that no sum of size changes
// can overflow.
constexpr int32_t kSizeLimit = 1000000;

bool Starts(std::string_view text, std::string_view opening) {
    return text.starts_with(opening);
}

} // namespace

TMarkupScanner::TMarkupScanner(const TMarkupFont& font, const TMarkupFont& linkFont)
    : baseFont_(font), linkFont_(linkFont) {
    baseFont_.Face = TMarkupFont::fFont;
    linkFont_.Face = TMarkupFont::fHyperLink;
    Reset();
}

void TMarkupScanner::Reset() {
    font_ = baseFont_;
    wordLength_ = 0;
    boldLevel_ = baseFont_.Bold ? 1 : 0;
    italicLevel_ = baseFont_.Italic ? 1 : 0;
    underlineLevel_ = baseFont_.Underline ? 1 : 0;
    strikeLevel_ = baseFont_.StrikeOut ? 1 : 0;
    hidden_ = false;
    openLink_ = 0;
}

bool TMarkupScanner::Append(char c) {
    if (wordLength_ >= kShortStringMax)
        return false;
    word_[wordLength_++] = c;
    return true;
}

void TMarkupScanner::Run(std::string_view text, TMarkupSink& sink) {
    Reset();
    text = text.substr(0, text.find('\0'));
    const size_t n = text.size();
    // The next ">" at or after the scan position, searched for once per
    // stretch, so a text full of "<" without ">" stays linear.
    size_t nextGt = 0;
    bool gtKnown = false;
    for (size_t i = 0; i < n; ++i) {
        const char c = text[i];
        bool appended = false;
        if (c != '\r' && c != '\n')
            appended = Append(c);
        switch (c) {
        case '\n':
            if (i > 0 && text[i - 1] == '\r' && !hidden_) {
                sink.PlaceWord(Word(), false);
                sink.BreakLine();
                wordLength_ = 0;
            }
            break;
        case ' ':
            if (!hidden_) {
                sink.PlaceWord(Word(), true);
                wordLength_ = 0;
            }
            break;
        case '<': {
            if (!gtKnown || (nextGt != std::string_view::npos && nextGt < i)) {
                nextGt = text.find('>', i);
                gtKnown = true;
            }
            if (nextGt == std::string_view::npos)
                break;
            const std::string_view tag = text.substr(i, std::min(nextGt - i + 1, kShortStringMax));
            if (!IsMarkupTag(tag))
                break; // the "<" stays as text; scanning goes on after it
            if (!hidden_) {
                // Only the "<" is taken back: a full buffer never got it.
                if (appended)
                    --wordLength_;
                sink.PlaceWord(Word(), true);
            }
            wordLength_ = 0;
            ApplyTag(tag, sink);
            i = nextGt;
            break;
        }
        default:
            break;
        }
    }
    if (wordLength_ > 0 && !hidden_)
        sink.PlaceWord(Word(), true);
}

void TMarkupScanner::EndLink() {
    openLink_ = 0;
    font_ = baseFont_;
    font_.Underline = underlineLevel_ != 0;
}

void TMarkupScanner::BeginLink(int32_t record) {
    openLink_ = record;
    font_ = linkFont_;
}

void TMarkupScanner::ChangeSize(std::string_view sizeValue) {
    if (sizeValue.empty() || (sizeValue[0] != '+' && sizeValue[0] != '-'))
        return;
    const int64_t delta = ReadIntDef(sizeValue.substr(1), 0);
    const int64_t size = sizeValue[0] == '+' ? font_.Size + delta : font_.Size - delta;
    font_.Size = int32_t(std::clamp<int64_t>(size, -kSizeLimit, kSizeLimit));
}

void TMarkupScanner::ApplyTag(std::string_view tagText, TMarkupSink& sink) {
    const std::string tag = plat::AnsiUpper(tagText.substr(0, kShortStringMax));
    if (Starts(tag, "<B>") || Starts(tag, "</B>")) {
        boldLevel_ += Starts(tag, "<B>") ? 1 : -1;
        font_.Bold = boldLevel_ != 0;
    } else if (Starts(tag, "<I>") || Starts(tag, "</I>")) {
        italicLevel_ += Starts(tag, "<I>") ? 1 : -1;
        font_.Italic = italicLevel_ != 0;
    } else if (Starts(tag, "<U>") || Starts(tag, "</U>")) {
        underlineLevel_ += Starts(tag, "<U>") ? 1 : -1;
        if (openLink_ == 0) // a link keeps its own underline
            font_.Underline = underlineLevel_ != 0;
    } else if (Starts(tag, "<S>") || Starts(tag, "</S>")) {
        strikeLevel_ += Starts(tag, "<S>") ? 1 : -1;
        font_.StrikeOut = strikeLevel_ != 0;
    } else if (Starts(tag, "<FONT") || Starts(tag, "</FONT")) {
        ChangeSize(GetTagAttribute(tag, "SIZE="));
    } else if (Starts(tag, "<IMG")) {
        TImageTag image;
        image.Name = GetTagAttribute(tag, "NAME=");
        if (image.Name.empty())
            return;
        image.Width = ReadIntDef(GetTagAttribute(tag, "WIDTH="), -1);
        image.Height = ReadIntDef(GetTagAttribute(tag, "HEIGHT="), -1);
        image.Align = GetTagAttribute(tag, "ALIGN=");
        sink.PlaceImage(image);
    } else if (Starts(tag, "<HIDE>")) {
        hidden_ = true;
    } else if (Starts(tag, "<SHOW>")) {
        hidden_ = false;
    } else if (Starts(tag, "<A") && openLink_ == 0) {
        const std::string href = GetTagAttribute(tag, "HREF=");
        font_.Underline = true;
        if (const int32_t record = sink.OpenLinkRecord(href))
            BeginLink(record);
    } else if (Starts(tag, "</A>") && openLink_ != 0) {
        sink.CloseLinkRecord();
        EndLink();
    } else if (Starts(tag, "<INPUT")) {
        TInputTag input;
        input.Type = GetTagAttribute(tag, "TYPE=");
        if (input.Type.empty())
            return;
        input.Name = GetTagAttribute(tag, "NAME=");
        input.Value = GetTagAttribute(tag, "VALUE=");
        input.Size = ReadIntDef(GetTagAttribute(tag, "SIZE="), 1);
        sink.PlaceInput(input);
    }
    // Anything else recognised (an "<A" inside a link) is consumed silently.
}

} // namespace markup
