// libFuzzer target for the markup scanner and its tag helpers: any text scans
// without crashing, words and tag values stay short strings, link records
// open and close in pairs, and the scanner's link state follows the sink's.
#include "fuzz/fuzz_support.h"
#include "markup/markup_scanner.h"
#include "markup/markup_tags.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

using fuzz::Check;

// Stands in for the layout: it counts what it is given and, as a wrap does,
// now and then closes the open link and opens it again on the next line.
class CheckingSink : public markup::TMarkupSink {
public:
    explicit CheckingSink(markup::TMarkupScanner& scanner) : scanner_(scanner) {}

    void PlaceWord(std::string_view word, bool) override {
        Check(word.size() <= markup::kShortStringMax);
        Check(!scanner_.Hidden());
        Check((scanner_.OpenLink() != 0) == (open_ != 0));
        if (open_ != 0 && ++words_ % 7 == 0) {
            CloseLinkRecord();
            scanner_.EndLink();
            if (const int32_t reopened = OpenLinkRecord(href_))
                scanner_.BeginLink(reopened);
        }
    }
    void BreakLine() override { Check(!scanner_.Hidden()); }
    int32_t OpenLinkRecord(std::string_view href) override {
        Check(open_ == 0);
        Check(href.size() <= markup::kShortStringMax);
        href_.assign(href);
        // A full list refuses the record; the link then stays closed.
        if (records_ >= 50)
            return 0;
        open_ = ++records_;
        return open_;
    }
    void CloseLinkRecord() override {
        Check(open_ != 0);
        open_ = 0;
    }
    void PlaceImage(const markup::TImageTag& tag) override {
        Check(!tag.Name.empty() && tag.Name.size() <= markup::kShortStringMax);
        Check(tag.Align.size() <= markup::kShortStringMax);
    }
    void PlaceInput(const markup::TInputTag& tag) override {
        Check(!tag.Type.empty() && tag.Type.size() <= markup::kShortStringMax);
        Check(tag.Name.size() <= markup::kShortStringMax);
        Check(tag.Value.size() <= markup::kShortStringMax);
    }

private:
    markup::TMarkupScanner& scanner_;
    std::string href_;
    int32_t open_ = 0;
    int32_t records_ = 0;
    int64_t words_ = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    markup::TMarkupFont font;
    markup::TMarkupFont link = font;
    link.Face = markup::TMarkupFont::fHyperLink;
    link.Underline = true;
    markup::TMarkupScanner scanner(font, link);
    // Every pass starts afresh, as the layout's link list is cleared.
    for (int pass = 0; pass < 2; ++pass) {
        CheckingSink sink(scanner);
        scanner.Run(text, sink);
    }

    // The helpers on the whole input as one tag.
    markup::IsMarkupTag(text);
    for (const char* name :
         {"SIZE=", "NAME=", "WIDTH=", "HEIGHT=", "ALIGN=", "HREF=", "TYPE=", "VALUE="}) {
        const std::string value = markup::GetTagAttribute(text, name);
        Check(value.size() <= text.size());
    }
    markup::ReadIntDef(text, -1);
    return 0;
}
