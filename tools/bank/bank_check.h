#pragma once

#include <string>
#include <string_view>
#include <vector>

// Solving generated questions again from their rules. A rule line is
// "<kind> <fields...>"; each family of generators checks its own kinds:
// the question has exactly one fitting choice, it is the keyed answer, and no
// distractor fits the shown items under any rule the family knows.

// Problems with one rule; empty when it holds. `handled` is set when the
// kind belongs to the family.
std::vector<std::string> CheckNumericRule(std::string_view rule, std::string_view answer,
                                          bool& handled);
std::vector<std::string> CheckFigureRule(std::string_view rule, std::string_view answer,
                                         bool& handled);

// Every line of a rules file (see GroupRulesText), each as
// "<QuestionKey>: <problem>"; an unknown kind is a problem too.
std::vector<std::string> CheckRulesText(std::string_view text);
