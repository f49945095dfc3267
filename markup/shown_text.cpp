#include "markup/shown_text.h"

#include "markup/markup_scanner.h"

#include <algorithm>

namespace markup {

namespace {

// A sink that only collects: no wrapping, since the shown text is the text
// as written, not as it falls on lines of some width.
class TShownTextSink final : public TMarkupSink {
public:
    explicit TShownTextSink(TShownText& out) : out_(out) {}

    void PlaceWord(std::string_view word, bool) override { out_.Text.append(word); }
    void BreakLine() override { out_.Text.push_back('\n'); }

    int32_t OpenLinkRecord(std::string_view href) override {
        TShownLink link;
        link.HRef.assign(href.substr(0, kShortStringMax));
        link.Start = out_.Text.size();
        link.End = link.Start;
        out_.Links.push_back(std::move(link));
        out_.Order.push_back({TShownItem::skLink, out_.Links.size() - 1});
        open_ = int32_t(out_.Links.size());
        return open_;
    }

    void CloseLinkRecord() override {
        Close();
        open_ = 0;
    }

    void PlaceImage(const TImageTag& tag) override {
        out_.Pictures.push_back(tag.Name);
        out_.Order.push_back({TShownItem::skPicture, out_.Pictures.size() - 1});
    }

    void PlaceInput(const TInputTag& tag) override {
        out_.Inputs.push_back({tag.Type, tag.Name});
        out_.Order.push_back({TShownItem::skInput, out_.Inputs.size() - 1});
    }

    // A link the text never closes ends with the text.
    void Finish() {
        if (open_ != 0)
            Close();
        open_ = 0;
    }

private:
    void Close() {
        TShownLink& link = out_.Links[size_t(open_ - 1)];
        link.End = out_.Text.size();
        link.Text =
            FoldBlanks(std::string_view(out_.Text).substr(link.Start, link.End - link.Start));
    }

    static std::string FoldBlanks(std::string_view text) {
        std::string folded;
        for (char c : text) {
            const bool blank = c == ' ' || c == '\n' || c == '\t';
            if (blank) {
                if (!folded.empty() && folded.back() != ' ')
                    folded.push_back(' ');
            } else {
                folded.push_back(c);
            }
        }
        while (!folded.empty() && folded.back() == ' ')
            folded.pop_back();
        return folded;
    }

    TShownText& out_;
    int32_t open_ = 0;
};

} // namespace

TShownText ExtractShownText(std::string_view text) {
    TShownText shown;
    TShownTextSink sink(shown);
    TMarkupScanner scanner(TMarkupFont{}, TMarkupFont{TMarkupFont::fHyperLink});
    scanner.Run(text, sink);
    sink.Finish();
    return shown;
}

} // namespace markup
