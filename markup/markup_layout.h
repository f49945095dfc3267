#pragma once

#include "markup/hyperlink_list.h"
#include "markup/markup_fonts.h"
#include "markup/markup_scanner.h"

#include <QImage>
#include <QRect>
#include <QSize>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class QPainter;

namespace markup {

// What a layout pass needs from the control that runs it.
class TLayoutHost {
public:
    virtual ~TLayoutHost() = default;
    virtual QImage LoadPicture(const std::string& name) = 0;
    // Creates or moves the input field of `tag` to (x, y); the room it takes
    // on the line (0 for a field that is not placed).
    virtual int PlaceInput(const TInputTag& tag, int x, int y, int lineHeight) = 0;
};

struct TLayoutParams {
    int Width = 0;                   // the control's width
    std::optional<QSize> ParentSize; // absent without a parent
    bool HorScrollBar = false;       // a wide picture widens the content
    int XMax = 0;                    // content width so far
    QPainter* Painter = nullptr;     // paints when set, else only measures
    QRect Exposed;                   // the part to paint; nothing outside is drawn
};

struct TLayoutResult {
    int XMax = 0;
    int YMax = 0;
    int BaseLineHeight = 0;
    // The box of every picture tag in document order (left-aligned when its
    // ALIGN is unknown); empty for a picture of no size.
    std::vector<QRect> Pictures;
};

// One pass over a markup text: words placed and wrapped at 95 % of the width,
// line breaks, link areas (rebuilt in `links`), pictures and input fields.
// Geometry is the same whether or not it paints.
class TLayoutPass final : public TMarkupSink {
public:
    TLayoutPass(TFontCache& fonts, THyperLinkList& links, TLayoutHost& host,
                const TLayoutParams& params);

    TLayoutResult Run(std::string_view text);

    // TMarkupSink
    void PlaceWord(std::string_view word, bool advance) override;
    void BreakLine() override;
    int32_t OpenLinkRecord(std::string_view href) override;
    void CloseLinkRecord() override;
    void PlaceImage(const TImageTag& tag) override;
    void PlaceInput(const TInputTag& tag) override;

private:
    bool Painting() const { return params_.Painter != nullptr; }
    bool Visible(int64_t top, int64_t height) const;
    void Wrap();
    // Height of the current line as a closed link sees it.
    int64_t LineHeight() const;
    void DrawWord(TFontCache::TEntry& font, TFontCache::TWord& word);
    void DrawPicture(const QImage& picture, int64_t left, int w, int h);

    TFontCache& fonts_;
    THyperLinkList& links_;
    TLayoutHost& host_;
    TLayoutParams params_;
    TMarkupScanner scanner_;
    int64_t x_ = 2;
    int64_t y_ = 0;
    int imageLineHeight_ = 0;
    int baseLineHeight_ = 0;
    int xMax_ = 0;
    const TFontCache::TEntry* painterFont_ = nullptr;
    int32_t linksOpened_ = 0;
    std::vector<QRect> pictures_;
};

} // namespace markup
