#include "transfer/ex_string_list.h"

#include <algorithm>

namespace vdx {

namespace {

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

// Sorted lists order by name first, so that every line of one name sits
// together where the bisection looks for it.
bool LineLess(const std::string& a, const std::string& b) {
    const int byName = CompareText(LineName(a), LineName(b));
    return byName != 0 ? byName < 0 : CompareText(a, b) < 0;
}

} // namespace

std::string_view LineName(std::string_view line) {
    const size_t colon = line.find(':');
    return colon == std::string_view::npos ? std::string_view() : line.substr(0, colon);
}

int CompareText(std::string_view a, std::string_view b) {
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        const unsigned char ca = static_cast<unsigned char>(Lower(a[i]));
        const unsigned char cb = static_cast<unsigned char>(Lower(b[i]));
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

void TExStringList::SetSorted(bool sorted) {
    sorted_ = sorted;
    if (sorted_)
        std::stable_sort(lines_.begin(), lines_.end(), LineLess);
}

int TExStringList::IndexOfName(std::string_view name) const {
    if (name.empty())
        return -1;
    if (sorted_) {
        const auto it = std::lower_bound(lines_.begin(), lines_.end(), name,
                                         [](const std::string& line, std::string_view key) {
                                             return CompareText(LineName(line), key) < 0;
                                         });
        if (it != lines_.end() && CompareText(LineName(*it), name) == 0)
            return int(it - lines_.begin());
        return -1;
    }
    for (size_t i = 0; i < lines_.size(); ++i) {
        if (CompareText(LineName(lines_[i]), name) == 0)
            return int(i);
    }
    return -1;
}

void TExStringList::SetValue(std::string_view name, std::string_view value) {
    const int index = IndexOfName(name);
    if (value.empty()) {
        if (index >= 0)
            Delete(index);
        return;
    }
    std::string line;
    line.reserve(name.size() + 2 + value.size());
    line.append(name).append(": ").append(value);
    if (index < 0) {
        Add(std::move(line));
    } else if (sorted_) {
        Delete(index);
        Add(std::move(line));
    } else {
        lines_[size_t(index)] = std::move(line);
    }
}

void TExStringList::Add(std::string line) {
    if (sorted_) {
        const auto at = std::upper_bound(lines_.begin(), lines_.end(), line, LineLess);
        lines_.insert(at, std::move(line));
    } else {
        lines_.push_back(std::move(line));
    }
}

void TExStringList::Delete(int index) {
    if (index >= 0 && index < Count())
        lines_.erase(lines_.begin() + index);
}

} // namespace vdx
