#pragma once

#include "tools/bank/bank_writer.h"
#include "tools/bank/numeric_check.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

// Pieces shared by the number series, letter series and word problems.

// Our own generator and ranges: the standard distributions differ between
// library versions, and the bank must come out the same everywhere.
class TRandom {
public:
    explicit TRandom(uint64_t seed) : state_(seed) {}
    uint64_t Next();
    int64_t Range(int64_t lo, int64_t hi); // inclusive
    bool Chance(int percent) { return Range(1, 100) <= percent; }
    template <class T> const T& Pick(const std::vector<T>& items) {
        return items[std::size_t(Range(0, int64_t(items.size()) - 1))];
    }
    template <class T> void Shuffle(std::vector<T>& items) {
        for (std::size_t i = items.size(); i > 1; --i)
            std::swap(items[i - 1], items[std::size_t(Range(0, int64_t(i) - 1))]);
    }

private:
    uint64_t state_;
};

// A seed of its own for every test, so that a change in one test leaves the
// others as they were.
uint64_t SubSeed(uint32_t seed, int group, int test);

// Every test runs easy -> hard in thirds: question i of n is in tier i*3/n.
enum class TTier { Easy = 0, Middle = 1, Hard = 2 };
TTier TierOf(std::size_t index, std::size_t count);
const char* TierName(TTier tier);

// Dutch number formats: "12", "2,5", "-3"; money always with cents.
std::string Dutch(TFraction value);
std::string Dutch(int64_t value);
std::string Money(TFraction value);
// "3   6   12   24   ..." in bold, as the series are shown.
std::string SeriesLine(const std::vector<std::string>& items);
// "a, b en c"
std::string JoinAnd(const std::vector<std::string>& items);

// A candidate answer: what the page shows, the value the rule records, and
// why a reader might pick it (empty for plain fillers). In Why, "{}" stands
// for "<shown> (antwoord x)".
struct TOption {
    std::string Shown;
    std::string Value;
    std::string Why;
};

struct TArranged {
    std::vector<TOption> Options;      // in page order a, b, c ...
    std::size_t Key = 0;               // page index of the answer
    std::vector<std::size_t> Tempting; // page indices of the distractors, most tempting first

    char KeyLetter() const { return char('a' + Key); }
    std::string Lines() const;      // the <a href> choice lines
    std::string RuleFields() const; // "a=.. b=.."
    // The reasons of up to `max` distractors that have one, filled in.
    std::string WrongNotes(std::size_t max) const;
    // Whether any distractor on the page comes with a reason; the
    // explanation must say why at least one tempting choice is wrong.
    bool HasReason() const;
    // Replaces "{antwoord}" by "antwoord x" for the key.
    std::string WithKey(std::string text) const;
};

// The answer and the first count-1 candidates with a value of their own
// (most tempting first), shuffled into page order.
TArranged Arrange(TRandom& random, const TOption& answer, const std::vector<TOption>& candidates,
                  std::size_t count);

// The introduction page (without title line and start link).
std::string Introduction(const std::string& title, const std::string& what, std::size_t count,
                         int seconds);

// Replaces every "{}" in text by value.
std::string Fill(std::string text, const std::string& value);

// Which kind each of `count` questions gets: every tier runs through its
// pool in a shuffled order, never the same kind twice in a row.
std::vector<std::string> Schedule(TRandom& random, std::size_t count,
                                  const std::vector<std::string> (&pools)[3]);

// Test t (0-based) of a group: `count` questions whose easy, middle and hard
// thirds take their kinds from the pools of levels t, t+1 and t+2, so that
// each next test starts one level higher. make(kind, level, tier) writes one
// question.
using TQuestionMaker = std::function<TBankQuestion(const std::string& kind, int level, TTier tier)>;
TBankTest MakeTieredTest(TRandom& random, int t, const std::string& title, const std::string& what,
                         std::size_t count, int seconds,
                         const std::vector<std::string>& (*pool)(int level),
                         const TQuestionMaker& make);

// "+3", "-5"
std::string Signed(int64_t value);
// "één" for 1, else the digits: "steeds één groter", "steeds 3 groter".
std::string Amount(int64_t value);
