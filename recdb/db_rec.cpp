#include "recdb/db_rec.h"

#include <algorithm>

TKeyParts SplitKey(std::string_view key) {
    std::string_view parts[4];
    size_t start = 0;
    for (int i = 0; i < 4 && start <= key.size(); ++i) {
        const size_t bar = key.find('|', start);
        const size_t end = bar == std::string_view::npos ? key.size() : bar;
        parts[i] = key.substr(start, std::min<size_t>(end - start, 255));
        if (bar == std::string_view::npos)
            break;
        start = bar + 1;
    }
    return {parts[0], parts[1], parts[2], parts[3]};
}
