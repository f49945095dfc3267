#include "markup/hyperlink_list.h"

#include <new>

int32_t THyperLinkList::Open(int32_t left, int32_t top, std::string_view href, int32_t link) {
    auto* record = new (std::nothrow) THyperLinkRec;
    if (!record)
        return 0;
    record->Left = left;
    record->Top = top;
    // Until it is closed the area is empty.
    record->Right = left;
    record->Bottom = top;
    record->HRef.assign(href.substr(0, 255));
    record->Link = link;
    if (!chain_.Add(record)) {
        delete record;
        return 0;
    }
    return chain_.Count();
}

void THyperLinkList::Clear() {
    while (chain_.Count() > 0) {
        delete static_cast<THyperLinkRec*>(chain_.Item(chain_.Count()));
        chain_.Delete(chain_.Count());
    }
}

const THyperLinkRec* THyperLinkList::HitTest(int32_t x, int32_t y) {
    const int32_t count = chain_.Count();
    for (int32_t n = 1; n <= count; ++n) {
        const auto* record = static_cast<const THyperLinkRec*>(chain_.Item(n));
        if (record && record->Contains(x, y))
            return record;
    }
    return nullptr;
}
