#include "markup/markup_layout.h"

#include "widgets/canvas_shapes.h"
#include "widgets/picture_drawing.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace markup {

namespace {

// Pictures and fields larger than this are cut down, so that no sum of
// positions can overflow.
constexpr int kMaxSide = 32767;

int32_t Clamp32(int64_t v) {
    return int32_t(std::clamp<int64_t>(v, INT32_MIN / 2, INT32_MAX / 2));
}

// Rounding half to even, as the sizes have always been rounded.
int64_t RoundEven(double v) {
    return int64_t(std::nearbyint(v));
}

int ClampSide(int64_t v) {
    return int(std::clamp<int64_t>(v, -kMaxSide, kMaxSide));
}

} // namespace

TLayoutPass::TLayoutPass(TFontCache& fonts, THyperLinkList& links, TLayoutHost& host,
                         const TLayoutParams& params)
    : fonts_(fonts), links_(links), host_(host), params_(params),
      scanner_(fonts.FontStyle(), fonts.LinkStyle()), xMax_(params.XMax) {}

TLayoutResult TLayoutPass::Run(std::string_view text) {
    linksOpened_ = 0;
    pictures_.clear();
    x_ = 2;
    y_ = 0;
    imageLineHeight_ = 0;
    baseLineHeight_ = fonts_.Get(fonts_.FontStyle()).Height();
    scanner_.Run(text, *this);
    // A link the text never closes ends where the text ends.
    if (scanner_.OpenLink() != 0) {
        CloseLinkRecord();
        scanner_.EndLink();
    }
    TLayoutResult result;
    result.BaseLineHeight = baseLineHeight_;
    int64_t yMax = y_ + 2 * int64_t(baseLineHeight_);
    if (params_.ParentSize) {
        xMax_ = std::max(xMax_, params_.ParentSize->width());
        yMax = std::max<int64_t>(yMax, params_.ParentSize->height());
    }
    result.XMax = xMax_;
    result.YMax = Clamp32(yMax);
    result.Pictures = std::move(pictures_);
    return result;
}

bool TLayoutPass::Visible(int64_t top, int64_t height) const {
    const QRect& r = params_.Exposed;
    return top <= r.bottom() && top + height > r.top();
}

int64_t TLayoutPass::LineHeight() const {
    return imageLineHeight_ >= 1 ? imageLineHeight_ : baseLineHeight_;
}

void TLayoutPass::BreakLine() {
    y_ += LineHeight();
    x_ = 2;
    imageLineHeight_ = 0;
}

void TLayoutPass::Wrap() {
    const int32_t open = scanner_.OpenLink();
    if (open == 0) {
        BreakLine();
        return;
    }
    THyperLinkRec* record = links_.At(open);
    const std::string href = record ? record->HRef : std::string();
    const int32_t link = record ? record->Link : 0;
    CloseLinkRecord();
    scanner_.EndLink();
    BreakLine();
    if (const int32_t reopened = links_.Open(2, Clamp32(y_), href, link))
        scanner_.BeginLink(reopened);
}

void TLayoutPass::PlaceWord(std::string_view word, bool advance) {
    TFontCache::TEntry* font = &fonts_.Get(scanner_.Font());
    TFontCache::TWord* measured = &font->Word(word);
    // x + w > 0.95 * Width, without rounding.
    if (100 * (x_ + measured->Width) > 95 * int64_t(params_.Width)) {
        Wrap();
        // A wrap inside a link changes the font the word is drawn in.
        TFontCache::TEntry* after = &fonts_.Get(scanner_.Font());
        if (after != font) {
            font = after;
            measured = &font->Word(word);
        }
    }
    if (Painting() && !measured->Text.isEmpty() && Visible(y_, font->Height()))
        DrawWord(*font, *measured);
    if (advance)
        x_ += measured->Width;
}

void TLayoutPass::DrawWord(TFontCache::TEntry& font, TFontCache::TWord& word) {
    QPainter& painter = *params_.Painter;
    if (painterFont_ != &font) {
        painter.setFont(font.GlyphFont());
        painter.setPen(font.Colour());
        painterFont_ = &font;
    }
    if (!word.Prepared) {
        word.Glyphs.setText(word.Text);
        word.Glyphs.setTextFormat(Qt::PlainText);
        word.Glyphs.setPerformanceHint(QStaticText::AggressiveCaching);
        word.Glyphs.prepare(painter.transform(), font.GlyphFont());
        word.Prepared = true;
    }
    painter.drawStaticText(QPoint(int(x_), int(y_)), word.Glyphs);
    // Underline and strike-out run on under the word's trailing blanks, as
    // drawn text's do.
    const int64_t baseline = y_ + font.Ascent();
    for (const TFontCache::TEntry::TLine& line : font.Lines())
        painter.fillRect(QRect(int(x_), int(baseline + line.Top), word.Width, line.Thickness),
                         font.Colour());
}

int32_t TLayoutPass::OpenLinkRecord(std::string_view href) {
    // Counted even when the record cannot be stored, so that link n is the
    // n-th link tag whatever happens.
    return links_.Open(Clamp32(x_), Clamp32(y_), href, ++linksOpened_);
}

void TLayoutPass::CloseLinkRecord() {
    if (THyperLinkRec* record = links_.At(scanner_.OpenLink())) {
        record->Right = Clamp32(x_);
        record->Bottom = Clamp32(y_ + LineHeight());
    }
}

void TLayoutPass::PlaceImage(const TImageTag& tag) {
    const QImage picture = host_.LoadPicture(tag.Name);
    int64_t w = tag.Width;
    int64_t h = tag.Height;
    if (!picture.isNull()) {
        const int pw = picture.width();
        const int ph = picture.height();
        if (w > 0 && h < 0 && pw > 0)
            h = RoundEven(double(w) * ph / pw);
        else if (w < 0 && h > 0 && ph > 0)
            w = RoundEven(double(h) * pw / ph);
        if (w < 0)
            w = pw;
        if (h < 0)
            h = ph;
    } else if (w > 0 && h < 0) {
        h = w;
    } else if (w < 0 && h > 0) {
        w = h;
    }
    const int width = ClampSide(w);
    const int height = ClampSide(h);

    std::optional<int64_t> left;
    if (tag.Align.empty() || tag.Align == "LEFT")
        left = x_;
    else if (tag.Align == "CENTER")
        left = RoundEven((params_.Width - width) / 2.0);
    else if (tag.Align == "RIGHT")
        left = int64_t(params_.Width) - width;
    pictures_.push_back(
        QRect(Clamp32(left.value_or(x_)), Clamp32(y_), std::max(width, 0), std::max(height, 0)));
    if (Painting()) {
        if (left && Visible(y_, height))
            DrawPicture(picture, *left, width, height);
    } else if (params_.HorScrollBar && params_.ParentSize && width > xMax_) {
        xMax_ = width;
    }
    x_ += width;
    imageLineHeight_ = height;
}

void TLayoutPass::DrawPicture(const QImage& picture, int64_t left, int w, int h) {
    QPainter& painter = *params_.Painter;
    const QRect box(int(std::clamp<int64_t>(left, -kMaxSide * 2, kMaxSide * 2)), Clamp32(y_), w, h);
    if (!picture.isNull())
        StretchPicture(&painter, box, picture);
    else // the place a missing picture would take
        DrawCanvasRectangle(painter, box, QPen(Qt::black, 1, Qt::SolidLine), Qt::NoBrush);
    painterFont_ = nullptr; // the pen is the text's again at the next word
}

void TLayoutPass::PlaceInput(const TInputTag& tag) {
    x_ += host_.PlaceInput(tag, Clamp32(x_), Clamp32(y_), baseLineHeight_);
}

} // namespace markup
