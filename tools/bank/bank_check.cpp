#include "tools/bank/bank_check.h"

std::vector<std::string> CheckRulesText(std::string_view text) {
    std::vector<std::string> problems;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        const std::string_view line = text.substr(start, end - start);
        start = end + 1;
        if (line.empty())
            continue;
        const std::size_t tab1 = line.find('\t');
        const std::size_t tab2 = tab1 == std::string_view::npos ? tab1 : line.find('\t', tab1 + 1);
        if (tab2 == std::string_view::npos) {
            problems.push_back(std::string(line) + ": not <key>\\t<answer>\\t<rule>");
            continue;
        }
        const std::string key(line.substr(0, tab1));
        const std::string_view answer = line.substr(tab1 + 1, tab2 - tab1 - 1);
        const std::string_view rule = line.substr(tab2 + 1);
        bool handled = false;
        std::vector<std::string> found = CheckNumericRule(rule, answer, handled);
        if (!handled)
            found = CheckFigureRule(rule, answer, handled);
        if (!handled)
            found.push_back("unknown rule kind in '" + std::string(rule) + "'");
        for (const std::string& p : found)
            problems.push_back(key + ": " + p);
    }
    return problems;
}
