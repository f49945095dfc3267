#pragma once

// Helpers shared by the tests of the generated bank.

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

namespace bank_test {

// The problems one per line, so that a failing EXPECT_EQ shows them all.
inline std::string Joined(const std::vector<std::string>& problems) {
    std::string text;
    for (const std::string& p : problems)
        text += p + "\n";
    return text;
}

inline bool Mentions(const std::vector<std::string>& problems, const std::string& part) {
    for (const std::string& p : problems)
        if (p.find(part) != std::string::npos)
            return true;
    return false;
}

// Runs one of the rule checkers and expects it to know the rule's kind.
template <class TChecker>
std::vector<std::string> CheckedBy(TChecker checker, const std::string& rule,
                                   const std::string& answer) {
    bool handled = false;
    std::vector<std::string> problems = checker(rule, answer, handled);
    EXPECT_TRUE(handled) << rule;
    return problems;
}

} // namespace bank_test
