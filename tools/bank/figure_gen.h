#pragma once

#include "tools/bank/figure_bank.h"
#include "tools/bank/figure_rules.h"

#include <QImage>
#include <QString>
#include <cstdint>
#include <random>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

// What the figure generators share: the random source, the difficulty
// profile, picture names and the markup of a question page.
namespace figure {

constexpr int kQuestionsPerTest = 20;

// Random numbers that do not depend on the standard library's
// distributions, so that every platform makes the same bank.
class TRng {
public:
    explicit TRng(uint32_t seed) : engine_(seed) {}
    int Below(int n) { return n <= 1 ? 0 : int(engine_() % uint32_t(n)); }
    int Between(int lo, int hi) { return lo + Below(hi - lo + 1); } // both included
    bool Chance(int percent) { return Below(100) < percent; }
    template <typename T> const T& Pick(const std::vector<T>& items) {
        return items[size_t(Below(int(items.size())))];
    }
    template <typename T> void Shuffle(std::vector<T>& items) {
        for (size_t i = items.size(); i > 1; --i)
            std::swap(items[i - 1], items[size_t(Below(int(i)))]);
    }

private:
    std::mt19937 engine_;
};

// The generators draw until a question passes its own check. A family that
// cannot find one any more has a bug; better to stop than to hang.
class TAttempts {
public:
    explicit TAttempts(const char* family) : family_(family) {}
    void Next() {
        if (++count_ > 20000)
            throw std::runtime_error(std::string("no fitting question for ") + family_);
    }

private:
    const char* family_;
    int count_ = 0;
};

// 0 easy, 1 middle, 2 hard: the first, middle and last third of a test.
inline int Tier(int index) {
    return index * 3 / kQuestionsPerTest;
}

using TPictures = std::vector<std::pair<QString, QImage>>;

// Where one test's questions and pictures go.
struct TTestSink {
    std::string Code;   // group code
    std::string Number; // test number
    TBankTest* Test;
    TPictures* Pictures;

    // "figu001003.png", with the choice letter before the dot when given.
    QString PictureName(int question, char letter = 0) const;
    QString AddPicture(int question, char letter, const QImage& image);
};

std::string Letter(int index);
// The question page: prompt, the item picture (when named), then the choices
// as links around their pictures, `perRow` on a line.
std::string QuestionText(const std::string& prompt, const QString& itemPicture,
                         const std::vector<QString>& choicePictures, int perRow);
// The introduction below the title: what the test asks, how many questions
// and how long to spend on each.
std::string Introduction(const std::string& title, const std::string& what, int seconds);

// Dutch words for explanations.
std::string NumberWord(int n); // "één", "twee", ...
// A turn of `eighths` eighth turns clockwise (negative: anticlockwise).
std::string TurnPhrase(int eighths);

// The families; each fills one test from its own random source.
void MakeSeriesTest(TRng& rng, TTestSink& sink, int variant);
void MakeMatrixTest(TRng& rng, TTestSink& sink, int variant);
void MakeOddTest(TRng& rng, TTestSink& sink);
void MakePlaneTest(TRng& rng, TTestSink& sink);
void MakeSpaceTest(TRng& rng, TTestSink& sink);
void MakeCubeTest(TRng& rng, TTestSink& sink, int variant);

} // namespace figure
