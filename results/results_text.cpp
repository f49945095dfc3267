#include "results/results_text.h"

#include "platform/datetime.h"

#include <algorithm>
#include <cmath>

namespace {

const char* const kEol = "\r\n";

std::string Heading(const TResultAttempt& attempt) {
    std::string text = "<b>" + attempt.GroupTitle + " - " + attempt.TestTitle + "</b>";
    text += attempt.Earlier() ? " (eerder, afgerond " : " (afgerond ";
    return text + DutchDateText(attempt.Finished) + ")";
}

} // namespace

std::string AverageSecondsText(int64_t totalMs, int questions) {
    if (questions < 1 || totalMs < 0)
        return "0,0";
    // Tenths of a second, rounded half up, in whole numbers so that no
    // floating point decides the last digit.
    const int64_t tenths = (totalMs / questions + 50) / 100;
    return std::to_string(tenths / 10) + "," + std::to_string(tenths % 10);
}

std::string DutchDateText(double day) {
    const plat::DateTimeParts parts = plat::DecodeDateTime(std::floor(day));
    return std::to_string(parts.day) + "-" + std::to_string(parts.month) + "-" +
           std::to_string(parts.year);
}

std::string AttemptLine(const TResultAttempt& attempt) {
    return "   " + std::to_string(attempt.Right) + " van " + std::to_string(attempt.Questions) +
           " goed, gemiddeld " + AverageSecondsText(attempt.TotalMs, attempt.Questions) +
           " s per vraag, IQ=" + attempt.IQ;
}

std::string ResultsPageMarkup(const std::vector<TResultAttempt>& attempts,
                              std::string_view chartName) {
    // The page's header already reads "Mijn resultaten".
    std::string text;
    if (attempts.empty()) {
        text += std::string(kNoResultsText) + kEol + kEol;
    } else {
        if (!chartName.empty()) {
            text += std::string("Het IQ van elke afgeronde test, in de volgorde waarin u ze "
                                "afrondde:") +
                    kEol + kEol;
            text += "<IMG NAME=\"" + std::string(chartName) + "\">" + kEol + kEol;
        }
        // The table goes by test in catalogue order, earlier attempts before
        // the current one, which alone can be taken again.
        std::vector<const TResultAttempt*> table;
        for (const TResultAttempt& attempt : attempts)
            table.push_back(&attempt);
        auto current = [](const TResultAttempt* a) { return a->Earlier() ? 0 : 1; };
        std::stable_sort(table.begin(), table.end(), [&](const auto* a, const auto* b) {
            if (a->GroupNo != b->GroupNo)
                return a->GroupNo < b->GroupNo;
            if (a->TestNo != b->TestNo)
                return a->TestNo < b->TestNo;
            if (current(a) != current(b))
                return current(a) < current(b);
            return a->Attempt < b->Attempt;
        });
        for (const TResultAttempt* attempt : table) {
            text += Heading(*attempt) + kEol + AttemptLine(*attempt) + kEol;
            if (!attempt->Earlier())
                text += "   <a href=\"opnieuw#" + attempt->TestKey + "\">Opnieuw maken</a>" + kEol;
            text += kEol;
        }
    }
    return text + "<a href=\"overzicht\">Terug naar het overzicht</a>" + kEol;
}
