// libFuzzer target for reading stored answer values. The input is read as a
// value from a users.dat (any bytes may be found there), and then its bytes
// are used to build a well-formed value, which must read back exactly.
#include "exam/answer_value.h"
#include "fuzz/fuzz_support.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

namespace {

using fuzz::Check;

constexpr int64_t kLastDay = 2958465; // 31 December 9999

uint64_t TakeNumber(std::string_view& rest) {
    uint64_t n = 0;
    const size_t take = std::min<size_t>(rest.size(), 8);
    std::memcpy(&n, rest.data(), take);
    rest.remove_prefix(take);
    return n;
}

void CheckAnyValue(std::string_view value) {
    const std::string_view answer = AnswerPart(value);
    const size_t lt = value.find('<');
    Check(lt == std::string_view::npos ? answer.empty() : answer == value.substr(0, lt));
    Check(AnswerIsRight(value, answer));
    Check(AnswerMs(value) >= 0);
    const double date = AnswerDate(value);
    Check(std::isfinite(date) && date >= 0 && date < double(kLastDay + 1));
}

// A value as the program writes it. Answers are link targets, which never
// hold the separators, so those are left out here.
void CheckWrittenValue(std::string_view input) {
    std::string_view rest = input;
    const uint64_t day = TakeNumber(rest) % uint64_t(kLastDay + 1);
    const uint64_t thousandths = TakeNumber(rest) % 1000;
    const int64_t ms = int64_t(TakeNumber(rest) >> 1);
    std::string answer;
    for (char c : rest.substr(0, 255))
        if (c != '<' && c != '>' && c != '\r' && c != '\n')
            answer.push_back(c);
    const std::string value = answer + '<' + std::to_string(day) + ',' +
                              std::to_string(thousandths) + "><" + std::to_string(ms) + '>';
    Check(AnswerPart(value) == answer);
    Check(AnswerMs(value) == ms);
    Check(AnswerDate(value) == double(day) + double(thousandths) / 1000.0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    CheckAnyValue(input);
    CheckWrittenValue(input);
    return 0;
}
