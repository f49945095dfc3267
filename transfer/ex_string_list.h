#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vdx {

// A list of "Name: value" lines, such as the header lines of a request.
// Names compare without regard to case. A sorted list keeps its lines ordered
// by name and finds them by bisection.
class TExStringList {
public:
    bool Sorted() const { return sorted_; }
    void SetSorted(bool sorted);

    // The first line whose text before its first ':' equals name, or -1.
    int IndexOfName(std::string_view name) const;
    // A non-empty value replaces the named line or adds "name: value"; an
    // empty value deletes the named line.
    void SetValue(std::string_view name, std::string_view value);
    void Add(std::string line);
    void Delete(int index);
    void Clear() { lines_.clear(); }

    int Count() const { return int(lines_.size()); }
    const std::string& operator[](int index) const { return lines_[size_t(index)]; }
    const std::vector<std::string>& Lines() const { return lines_; }

private:
    std::vector<std::string> lines_;
    bool sorted_ = false;
};

// The text of a line before its first ':'; empty for a line without one.
std::string_view LineName(std::string_view line);
// Compares without regard to ASCII case: <0, 0, >0.
int CompareText(std::string_view a, std::string_view b);

} // namespace vdx
