#include "exam/answer_value.h"

#include <limits>
#include <string>

namespace {

// A whole decimal number with an optional sign; false for anything else and
// for values beyond 64 bits.
bool ParseWhole(std::string_view text, int64_t& out) {
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    if (i == text.size())
        return false;
    int64_t value = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9')
            return false;
        if (value > (std::numeric_limits<int64_t>::max() - (text[i] - '0')) / 10)
            return false;
        value = value * 10 + (text[i] - '0');
    }
    out = negative ? -value : value;
    return true;
}

} // namespace

std::string_view AnswerPart(std::string_view value) {
    const std::size_t lt = value.find('<');
    return lt == std::string_view::npos ? std::string_view() : value.substr(0, lt);
}

bool AnswerIsRight(std::string_view storedValue, std::string_view correct) {
    return AnswerPart(storedValue) == correct;
}

int64_t AnswerMs(std::string_view value) {
    const std::size_t sep = value.find("><");
    if (sep == std::string_view::npos)
        return 0;
    std::string digits;
    for (char c : value.substr(sep + 2))
        if (c != '>')
            digits.push_back(c);
    int64_t ms = 0;
    // A negative time would hand back test time the user already spent.
    if (!ParseWhole(digits, ms) || ms < 0)
        return 0;
    return ms;
}

double AnswerDate(std::string_view value) {
    const std::size_t open = value.find('<');
    if (open == std::string_view::npos)
        return 0;
    const std::size_t close = value.find('>', open);
    if (close == std::string_view::npos)
        return 0;
    const std::string_view stamp = value.substr(open + 1, close - open - 1);
    const std::size_t comma = stamp.find(',');
    int64_t day = 0;
    int64_t thousandths = 0;
    if (comma == std::string_view::npos || !ParseWhole(stamp.substr(0, comma), day) ||
        !ParseWhole(stamp.substr(comma + 1), thousandths) || day < 0 || day > 2958465 ||
        thousandths < 0 || thousandths > 999)
        return 0;
    return double(day) + double(thousandths) / 1000.0;
}
