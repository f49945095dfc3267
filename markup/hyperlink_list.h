#pragma once

#include "recdb/pointer_chain.h"

#include <cstdint>
#include <string>
#include <string_view>

// One link area of a layout pass, in control coordinates. A point is inside
// when Left <= x < Right and Top <= y < Bottom.
struct THyperLinkRec {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Right = 0;
    int32_t Bottom = 0;
    std::string HRef; // upper case, at most 255 characters
    // Which link tag of the text (1-based) the area belongs to: a link
    // wrapped over lines has one area per line, all with the same number.
    int32_t Link = 0;

    bool Contains(int32_t x, int32_t y) const {
        return Left <= x && x < Right && Top <= y && y < Bottom;
    }
};

// The link areas of the last pass in document order, numbered from 1. The
// list owns its records; they live until the next pass clears them.
class THyperLinkList {
public:
    THyperLinkList() : chain_("HyperLinks") {}
    ~THyperLinkList() { Clear(); }
    THyperLinkList(const THyperLinkList&) = delete;
    THyperLinkList& operator=(const THyperLinkList&) = delete;

    int32_t Count() const { return chain_.Count(); }
    // Record n (1-based), nullptr outside 1 .. Count.
    THyperLinkRec* At(int32_t n) { return static_cast<THyperLinkRec*>(chain_.Item(n)); }
    // Reading moves only the chain's cursor, which no caller relies on.
    const THyperLinkRec* At(int32_t n) const {
        return static_cast<const THyperLinkRec*>(const_cast<TPointerChain&>(chain_).Item(n));
    }
    // Stores a record of link `link` opened at (left, top); its number, or 0
    // when it could not be stored.
    int32_t Open(int32_t left, int32_t top, std::string_view href, int32_t link = 0);
    void Clear();
    // The first record that holds the point, nullptr when none does.
    const THyperLinkRec* HitTest(int32_t x, int32_t y);

    const std::string& Name() const { return chain_.ChainName(); }

private:
    TPointerChain chain_;
};
