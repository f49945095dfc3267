#include "tools/bank/numeric_common.h"

#include <set>

uint64_t TRandom::Next() {
    // splitmix64: small, fast and the same on every platform.
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

int64_t TRandom::Range(int64_t lo, int64_t hi) {
    if (hi <= lo)
        return lo;
    const uint64_t span = uint64_t(hi - lo) + 1;
    // Rejection keeps small ranges unbiased.
    const uint64_t limit = UINT64_MAX - UINT64_MAX % span;
    uint64_t v;
    do
        v = Next();
    while (v >= limit);
    return lo + int64_t(v % span);
}

uint64_t SubSeed(uint32_t seed, int group, int test) {
    TRandom mix(uint64_t(seed) << 16 ^ uint64_t(group) << 8 ^ uint64_t(test));
    mix.Next();
    return mix.Next();
}

TTier TierOf(std::size_t index, std::size_t count) {
    return TTier(count == 0 ? 0 : index * 3 / count);
}

const char* TierName(TTier tier) {
    switch (tier) {
    case TTier::Easy:
        return "easy";
    case TTier::Middle:
        return "middle";
    case TTier::Hard:
        return "hard";
    }
    return "easy";
}

std::string Dutch(TFraction value) {
    std::string text = value.ToDecimal();
    for (char& c : text)
        if (c == '.')
            c = ',';
    return text;
}

std::string Dutch(int64_t value) {
    return std::to_string(value);
}

std::string Money(TFraction value) {
    const TFraction cents = value * TFraction(100);
    const int64_t c = cents.Num;
    return "\u20ac " + std::to_string(c / 100) + "," + (c % 100 < 10 ? "0" : "") +
           std::to_string(c % 100);
}

std::string SeriesLine(const std::vector<std::string>& items) {
    std::string line = "<b>";
    for (const std::string& item : items)
        line += item + "   ";
    return line + "...</b>";
}

std::string JoinAnd(const std::vector<std::string>& items) {
    std::string text;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i > 0)
            text += i + 1 == items.size() ? " en " : ", ";
        text += items[i];
    }
    return text;
}

std::string Fill(std::string text, const std::string& value) {
    for (std::size_t at = text.find("{}"); at != std::string::npos;
         at = text.find("{}", at + value.size()))
        text.replace(at, 2, value);
    return text;
}

std::string TArranged::Lines() const {
    std::string lines;
    for (std::size_t i = 0; i < Options.size(); ++i) {
        const char letter = char('a' + i);
        if (i > 0)
            lines += "\n";
        lines +=
            std::string("<a href=\"") + letter + "\">" + letter + ") " + Options[i].Shown + "</a>";
    }
    return lines;
}

std::string TArranged::RuleFields() const {
    std::string fields;
    for (std::size_t i = 0; i < Options.size(); ++i)
        fields += std::string(i > 0 ? " " : "") + char('a' + i) + "=" + Options[i].Value;
    return fields;
}

std::string TArranged::WrongNotes(std::size_t max) const {
    std::string notes;
    std::size_t used = 0;
    for (std::size_t index : Tempting) {
        if (used == max)
            break;
        const TOption& option = Options[index];
        if (option.Why.empty())
            continue;
        notes += " " + Fill(option.Why, option.Shown + " (antwoord " + char('a' + index) + ")");
        ++used;
    }
    return notes;
}

bool TArranged::HasReason() const {
    for (std::size_t index : Tempting)
        if (!Options[index].Why.empty())
            return true;
    return false;
}

std::string TArranged::WithKey(std::string text) const {
    const std::string mark = "{antwoord}";
    const std::string key = std::string("antwoord ") + KeyLetter();
    for (std::size_t at = text.find(mark); at != std::string::npos; at = text.find(mark, at))
        text.replace(at, mark.size(), key);
    return text;
}

TArranged Arrange(TRandom& random, const TOption& answer, const std::vector<TOption>& candidates,
                  std::size_t count) {
    std::vector<TOption> chosen{answer};
    std::set<std::string> values{answer.Value};
    for (const TOption& c : candidates) {
        if (chosen.size() == count)
            break;
        if (values.insert(c.Value).second)
            chosen.push_back(c);
    }
    // Page order: a random permutation; chosen[0] is the answer, the rest
    // keep their rank for the explanation.
    std::vector<std::size_t> order(chosen.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    random.Shuffle(order);
    TArranged arranged;
    std::vector<std::size_t> pageOf(chosen.size());
    for (std::size_t page = 0; page < order.size(); ++page) {
        arranged.Options.push_back(chosen[order[page]]);
        pageOf[order[page]] = page;
    }
    arranged.Key = pageOf[0];
    for (std::size_t rank = 1; rank < chosen.size(); ++rank)
        arranged.Tempting.push_back(pageOf[rank]);
    return arranged;
}

std::string Introduction(const std::string& title, const std::string& what, std::size_t count,
                         int seconds) {
    return "<b><font size=\"+2\">" + title + "</font size=\"-2\"></b>\n\n" + what +
           "\n\nDe test bestaat uit " + std::to_string(count) +
           " vragen. De eerste vragen zijn eenvoudig; daarna worden ze steeds moeilijker. "
           "Klik bij elke vraag op het antwoord van uw keuze.\n\nWij raden een tijdslimiet van " +
           std::to_string(seconds) + " seconden per vraag aan.";
}

std::vector<std::string> Schedule(TRandom& random, std::size_t count,
                                  const std::vector<std::string> (&pools)[3]) {
    std::vector<std::string> kinds;
    std::vector<std::string> bag;
    int bagTier = -1;
    for (std::size_t i = 0; i < count; ++i) {
        const int tier = int(TierOf(i, count));
        if (tier != bagTier) {
            bag.clear();
            bagTier = tier;
        }
        if (bag.empty()) {
            bag = pools[tier];
            random.Shuffle(bag);
            // The bag is used from the back; avoid a repeat at the seam.
            if (!kinds.empty() && bag.size() > 1 && bag.back() == kinds.back())
                std::swap(bag.front(), bag.back());
        }
        kinds.push_back(bag.back());
        bag.pop_back();
    }
    return kinds;
}

TBankTest MakeTieredTest(TRandom& random, int t, const std::string& title, const std::string& what,
                         std::size_t count, int seconds,
                         const std::vector<std::string>& (*pool)(int level),
                         const TQuestionMaker& make) {
    TBankTest test;
    test.Number = "00" + std::to_string(t + 1);
    test.Title = title;
    test.Introduction = Introduction(title, what, count, seconds);
    const std::vector<std::string> pools[3] = {pool(t), pool(t + 1), pool(t + 2)};
    const std::vector<std::string> kinds = Schedule(random, count, pools);
    for (std::size_t i = 0; i < count; ++i) {
        const TTier tier = TierOf(i, count);
        test.Questions.push_back(make(kinds[i], t + int(tier), tier));
    }
    return test;
}

std::string Signed(int64_t value) {
    return (value < 0 ? "-" : "+") + std::to_string(value < 0 ? -value : value);
}

std::string Amount(int64_t value) {
    return value == 1 ? "één" : std::to_string(value);
}
