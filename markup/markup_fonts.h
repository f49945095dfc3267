#pragma once

#include "markup/markup_scanner.h"

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QStaticText>
#include <QString>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace markup {

// The fonts a text is drawn in, made from the control's Font and
// HyperLinkFont by the tags' styles and sizes, with the widths of the words
// measured in each. Every repaint lays the text out again, so each distinct
// word is measured and converted once per text, not once per pass.
class TFontCache {
public:
    struct TWord {
        int Width = 0;
        QString Text;
        // The shaped glyphs, made at the first drawing: drawing them again
        // needs no shaping.
        QStaticText Glyphs;
        bool Prepared = false;
    };

    class TEntry {
    public:
        // A horizontal stroke drawn along a word, relative to its baseline.
        struct TLine {
            int Top = 0;
            int Thickness = 0;
        };

        TEntry(const QFont& font, const QColor& colour);
        const QFont& Font() const { return font_; }
        // The font the glyphs are drawn in: Font without its lines, which
        // are drawn apart (see Lines). QPainter::drawStaticText places them
        // wrongly once the painter is translated, as it is for a child
        // widget painted into its window.
        const QFont& GlyphFont() const { return glyphFont_; }
        const std::vector<TLine>& Lines() const { return lines_; }
        const QColor& Colour() const { return colour_; }
        int Ascent() const { return ascent_; }
        int Height() const { return height_; }
        TWord& Word(std::string_view word);

    private:
        struct Hash {
            using is_transparent = void;
            size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
        };
        QFont font_;
        QFont glyphFont_;
        QFontMetrics metrics_;
        std::vector<TLine> lines_;
        QColor colour_;
        int ascent_;
        int height_;
        std::unordered_map<std::string, TWord, Hash, std::equal_to<>> words_;
        TWord uncached_;
    };

    // Keeps what was measured while the fonts and colours stay the same.
    void SetFonts(const QFont& font, const QColor& fontColour, const QFont& linkFont,
                  const QColor& linkColour);
    // Forgets the measured words (a new text).
    void Clear();

    // The two fonts as the tags start from them.
    const TMarkupFont& FontStyle() const { return fontStyle_; }
    const TMarkupFont& LinkStyle() const { return linkStyle_; }

    TEntry& Get(const TMarkupFont& style);

    // The QFont a style stands for: the base font with the style's flags and
    // its size kept between 1 and 1000 points.
    QFont Realise(const TMarkupFont& style) const;

    static TMarkupFont Describe(const QFont& font, TMarkupFont::TFace face);

private:
    QFont font_;
    QFont linkFont_;
    QColor fontColour_;
    QColor linkColour_;
    TMarkupFont fontStyle_;
    TMarkupFont linkStyle_;
    std::vector<std::pair<TMarkupFont, std::unique_ptr<TEntry>>> entries_;
    TEntry* last_ = nullptr;
    TMarkupFont lastStyle_;
};

} // namespace markup
