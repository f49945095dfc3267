#include "markup/markup_fonts.h"

#include "platform/ansi.h"

#include <algorithm>

namespace markup {

namespace {

// Beyond this a text is not ordinary markup; its words are measured each time
// rather than kept without limit.
constexpr size_t kMaxCachedWords = 50000;
constexpr int kMaxPointSize = 1000;

int PointSize(const QFont& font) {
    if (font.pointSize() > 0)
        return font.pointSize();
    // A pixel-sized font: points at the usual 96 dots per inch.
    return font.pixelSize() > 0 ? std::max(1, font.pixelSize() * 3 / 4) : 10;
}

QFont WithoutLines(QFont font) {
    font.setUnderline(false);
    font.setOverline(false);
    font.setStrikeOut(false);
    return font;
}

} // namespace

TFontCache::TEntry::TEntry(const QFont& font, const QColor& colour)
    : font_(font), glyphFont_(WithoutLines(font)), metrics_(font), colour_(colour),
      ascent_(metrics_.ascent()), height_(metrics_.height()) {
    const int thickness = std::max(1, metrics_.lineWidth());
    // Centred on the font's position, the underline kept inside the line.
    const auto line = [&](int centre) { return TLine{centre - (thickness - 1) / 2, thickness}; };
    if (font.overline())
        lines_.push_back(line(-metrics_.overlinePos()));
    if (font.strikeOut())
        lines_.push_back(line(-metrics_.strikeOutPos()));
    if (font.underline()) {
        TLine under = line(std::max(1, metrics_.underlinePos()));
        under.Top = std::min(under.Top, height_ - ascent_ - thickness);
        lines_.push_back(under);
    }
}

TFontCache::TWord& TFontCache::TEntry::Word(std::string_view word) {
    if (auto it = words_.find(word); it != words_.end())
        return it->second;
    TWord measured;
    measured.Text = plat::FromAnsi(word);
    measured.Width = metrics_.horizontalAdvance(measured.Text);
    if (words_.size() >= kMaxCachedWords) {
        uncached_ = std::move(measured);
        return uncached_;
    }
    return words_.emplace(std::string(word), std::move(measured)).first->second;
}

TMarkupFont TFontCache::Describe(const QFont& font, TMarkupFont::TFace face) {
    TMarkupFont style;
    style.Face = face;
    style.Bold = font.bold();
    style.Italic = font.italic();
    style.Underline = font.underline();
    style.StrikeOut = font.strikeOut();
    style.Size = PointSize(font);
    return style;
}

void TFontCache::SetFonts(const QFont& font, const QColor& fontColour, const QFont& linkFont,
                          const QColor& linkColour) {
    if (!entries_.empty() && font == font_ && linkFont == linkFont_ && fontColour == fontColour_ &&
        linkColour == linkColour_)
        return;
    font_ = font;
    linkFont_ = linkFont;
    fontColour_ = fontColour;
    linkColour_ = linkColour;
    fontStyle_ = Describe(font, TMarkupFont::fFont);
    linkStyle_ = Describe(linkFont, TMarkupFont::fHyperLink);
    Clear();
}

void TFontCache::Clear() {
    entries_.clear();
    last_ = nullptr;
}

QFont TFontCache::Realise(const TMarkupFont& style) const {
    const bool link = style.Face == TMarkupFont::fHyperLink;
    QFont font = link ? linkFont_ : font_;
    const TMarkupFont& base = link ? linkStyle_ : fontStyle_;
    font.setBold(style.Bold);
    font.setItalic(style.Italic);
    font.setUnderline(style.Underline);
    font.setStrikeOut(style.StrikeOut);
    // A size the tags never touched stays as the font has it (points or pixels).
    if (style.Size != base.Size)
        font.setPointSize(std::clamp(style.Size, 1, kMaxPointSize));
    return font;
}

TFontCache::TEntry& TFontCache::Get(const TMarkupFont& style) {
    if (last_ && style == lastStyle_)
        return *last_;
    auto it = std::find_if(entries_.begin(), entries_.end(),
                           [&](const auto& entry) { return entry.first == style; });
    if (it == entries_.end()) {
        const QColor& colour = style.Face == TMarkupFont::fHyperLink ? linkColour_ : fontColour_;
        entries_.emplace_back(style, std::make_unique<TEntry>(Realise(style), colour));
        it = entries_.end() - 1;
    }
    last_ = it->second.get();
    lastStyle_ = style;
    return *last_;
}

} // namespace markup
