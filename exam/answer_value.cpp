#include "exam/answer_value.h"

#include "platform/numbers.h"

#include <string>

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
    // A negative time would hand back test time the user already spent.
    const std::optional<int64_t> ms = plat::ParseSignedDecimal(digits);
    return ms && *ms >= 0 ? *ms : 0;
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
    if (comma == std::string_view::npos)
        return 0;
    const std::optional<int64_t> day = plat::ParseSignedDecimal(stamp.substr(0, comma));
    const std::optional<int64_t> thousandths = plat::ParseSignedDecimal(stamp.substr(comma + 1));
    if (!day || !thousandths || *day < 0 || *day > 2958465 || *thousandths < 0 ||
        *thousandths > 999)
        return 0;
    return double(*day) + double(*thousandths) / 1000.0;
}
