// Letter series: A-Z read as places 1-26. The second test lets the alphabet
// run round (after Z comes A), which its introduction says.
#include "tools/bank/numeric_groups.h"

#include <algorithm>
#include <set>
#include <stdexcept>

namespace {

int Mod26(int64_t v) {
    return int((v % 26 + 26) % 26);
}
std::string LetterOf(int64_t raw) {
    return std::string(1, char('A' + Mod26(raw)));
}

struct TDraft {
    std::string Rule;
    std::vector<int64_t> Raw; // places counted from A = 0, not yet wrapped; answer last
    std::string How;          // "{antwoord}" for the key
    std::vector<std::pair<int64_t, std::string>> Tempting;
};

// The places as a reader counts them (A = 1); when the series runs round, the
// second round goes on at 27 (and a series running back before A is lifted
// a whole round, so that no place is below 1).
class TPlaces {
public:
    explicit TPlaces(const std::vector<int64_t>& raw) {
        const int64_t low = *std::min_element(raw.begin(), raw.end());
        lift_ = low < 0 ? ((-low + 25) / 26) * 26 : 0;
        high_ = *std::max_element(raw.begin(), raw.end()) + lift_ + 1;
    }
    int64_t Of(int64_t raw) const { return raw + lift_ + 1; }
    std::string Named(int64_t raw) const { return LetterOf(raw) + " = " + std::to_string(Of(raw)); }
    // "Geef elke letter ...: A = 1, C = 3, E = 5." and, beyond Z, how to count on.
    std::string Intro(const std::vector<int64_t>& raw, std::size_t shown) const {
        std::vector<std::string> named;
        for (std::size_t i = 0; i < shown; ++i)
            named.push_back(Named(raw[i]));
        std::string text = "Geef elke letter zijn plaats in het alfabet: " + JoinAnd(named) + ".";
        // Counting on past Z keeps every step a plain sum.
        if (high_ > 26)
            text +=
                " Omdat de reeks voorbij " +
                std::string(lift_ > 0 ? "de A terugloopt" : "de Z doorloopt") +
                ", telt u het alfabet twee keer: eerst A = 1 tot en met Z = 26, daarna A = 27 tot "
                "en met Z = 52.";
        return text;
    }
    // "7 + 2 = 9, de <b>I</b>"
    std::string Step(int64_t fromRaw, int64_t step) const {
        return std::to_string(Of(fromRaw)) + " " + (step < 0 ? "- " : "+ ") +
               std::to_string(step < 0 ? -step : step) + " = " +
               std::to_string(Of(fromRaw + step)) + ", en dat is de <b>" +
               LetterOf(fromRaw + step) + "</b> ({antwoord}).";
    }

private:
    int64_t lift_ = 0;
    int64_t high_ = 0;
};

std::string Skipped(int64_t step) {
    const int64_t k = (step < 0 ? -step : step) - 1;
    if (k == 0)
        return "";
    return k == 1 ? "; er wordt telkens één letter overgeslagen"
                  : "; er worden telkens " + std::to_string(k) + " letters overgeslagen";
}

std::string Places(int64_t n) {
    return n == 1 ? "één plaats" : std::to_string(n) + " plaatsen";
}

int64_t Start(TRandom& r, bool wrap, int64_t low, int64_t high) {
    // Without wrap the whole series must fit between A and Z.
    return wrap ? r.Range(0, 25) : r.Range(-low, 25 - high);
}

// The series given by its offsets from the first letter, at a start where it
// fits; returns the start.
int64_t PlaceOffsets(TRandom& r, bool wrap, const std::vector<int64_t>& offsets, TDraft& d) {
    const auto [low, high] = std::minmax_element(offsets.begin(), offsets.end());
    const int64_t start = Start(r, wrap, *low, *high);
    for (int64_t o : offsets)
        d.Raw.push_back(start + o);
    return start;
}

// The jumps between the shown letters: "+2", "+3", ...
std::vector<std::string> Jumps(const std::vector<int64_t>& raw, std::size_t shown) {
    std::vector<std::string> jumps;
    for (std::size_t i = 1; i < shown; ++i)
        jumps.push_back(Signed(raw[i] - raw[i - 1]));
    return jumps;
}

TDraft Step(TRandom& r, int level, bool wrap) {
    std::vector<int64_t> steps;
    if (level == 0)
        steps = {2, 3, -1, -2};
    else if (level == 1)
        steps = {2, 3, 4, 5, -2, -3};
    else
        steps = {4, 5, 6, 7, -3, -4, -5};
    const int64_t step = r.Pick(steps);
    const std::size_t shown = 5;
    const int64_t span = step * int64_t(shown);
    const int64_t start = Start(r, wrap, std::min<int64_t>(0, span), std::max<int64_t>(0, span));
    TDraft d;
    for (std::size_t i = 0; i <= shown; ++i)
        d.Raw.push_back(start + int64_t(i) * step);
    d.Rule = "fam=step start=" + LetterOf(start) + " step=" + std::to_string(step);
    const TPlaces places(d.Raw);
    const int64_t size = step < 0 ? -step : step;
    d.How = places.Intro(d.Raw, shown) + " " +
            (step > 0 ? "Er komt steeds " + std::to_string(size) + " bij"
                      : "Er gaat steeds " + std::to_string(size) +
                            " af: de reeks loopt achteruit door het alfabet") +
            Skipped(step) + ". Na de " + LetterOf(d.Raw[shown - 1]) + " komt dus " +
            places.Step(d.Raw[shown - 1], step);
    const int64_t answer = d.Raw[shown];
    const int64_t unit = step < 0 ? -1 : 1;
    d.Tempting = {{answer + unit, "Wie een letter te veel overslaat, kiest {}."},
                  {answer + step, "{} is een stap te ver."}};
    if (size >= 2)
        d.Tempting.insert(d.Tempting.begin() + 1,
                          {answer - unit, "Wie een letter te weinig overslaat, kiest {}."});
    return d;
}

TDraft Grow(TRandom& r, int level, bool wrap) {
    const int64_t first = r.Range(1, level >= 2 ? 3 : 2);
    const int64_t grow = level >= 2 && wrap ? r.Range(1, 2) : 1;
    const bool back = level >= 2 && r.Chance(30);
    const std::size_t shown = level >= 3 ? 5 : 4 + std::size_t(r.Range(0, 1));
    std::vector<int64_t> offsets{0};
    for (std::size_t i = 0; i < shown; ++i)
        offsets.push_back(offsets.back() + (first + int64_t(i) * grow) * (back ? -1 : 1));
    TDraft d;
    const int64_t start = PlaceOffsets(r, wrap, offsets, d);
    const int64_t sign = back ? -1 : 1;
    d.Rule = "fam=grow start=" + LetterOf(start) + " step=" + std::to_string(sign * first) +
             " grow=" + std::to_string(sign * grow);
    const TPlaces places(d.Raw);
    const std::vector<std::string> jumps = Jumps(d.Raw, shown);
    const int64_t last = d.Raw[shown - 1];
    const int64_t lastJump = last - d.Raw[shown - 2];
    const int64_t nextJump = d.Raw[shown] - last;
    d.How = places.Intro(d.Raw, shown) + " De sprongen zijn " + JoinAnd(jumps) +
            (back ? ": er gaat steeds " + Amount(grow) + " meer af"
                  : ": ze worden steeds " + Amount(grow) + " groter") +
            ". Nu is de sprong " + Signed(nextJump) + ": " + places.Step(last, nextJump);
    d.Tempting = {
        {last + lastJump,
         "Wie de laatste sprong (" + Signed(lastJump) + ") herhaalt, kiest {}, " +
             (back ? "maar er gaat steeds meer af." : "maar de sprongen worden steeds groter.")},
        {last + nextJump + sign * grow, "Wie de sprong te groot neemt (" +
                                            Signed(nextJump + sign * grow) + " in plaats van " +
                                            Signed(nextJump) + "), kiest {}."},
        {d.Raw[shown] - sign, "Wie een letter te weinig telt, kiest {}."},
        {d.Raw[shown] + sign, "Wie een letter te ver telt, kiest {}."},
    };
    return d;
}

TDraft Inter(TRandom& r, int level, bool wrap) {
    int64_t s1, s2, d1, d2;
    std::size_t shown = 6;
    if (level <= 1) {
        s1 = r.Range(0, 4);
        s2 = r.Range(21, 25);
        d1 = r.Range(1, 2);
        d2 = -r.Range(1, 2);
    } else {
        s1 = r.Range(0, 8);
        s2 = r.Range(17, 25);
        d1 = r.Range(2, 3);
        d2 = -r.Range(1, 3);
        shown = r.Chance(50) ? 6 : 7;
        if (wrap) {
            s1 = r.Range(14, 25);
            s2 = r.Range(0, 10);
        }
    }
    if (r.Chance(50)) {
        std::swap(s1, s2);
        std::swap(d1, d2);
    }
    TDraft d;
    for (std::size_t i = 0; i <= shown; ++i)
        d.Raw.push_back(i % 2 ? s2 + int64_t(i / 2) * d2 : s1 + int64_t(i / 2) * d1);
    d.Rule = "fam=inter s1=" + LetterOf(s1) + " step1=" + std::to_string(d1) +
             " s2=" + LetterOf(s2) + " step2=" + std::to_string(d2);
    const char* names[2] = {"eerste", "tweede"};
    const int64_t steps[2] = {d1, d2};
    const auto describe = [&](int64_t s) {
        const int64_t size = s < 0 ? -s : s;
        return std::string("steeds ") + (size == 1 ? "één letter" : Places(size)) +
               (s < 0 ? " terug" : " verder");
    };
    std::string how = "Hier lopen twee reeksen door elkaar.";
    for (int k = 0; k < 2; ++k) {
        std::vector<std::string> placesList, letters;
        for (std::size_t i = std::size_t(k); i < shown; i += 2) {
            placesList.push_back(std::to_string(i + 1) + "e");
            letters.push_back(LetterOf(d.Raw[i]));
        }
        how += std::string(k == 0 ? " Op de " : "; op de ") + JoinAnd(placesList) +
               " plaats staat " + JoinAnd(letters) + " (" + describe(steps[k]) + ")";
    }
    const std::size_t p = shown % 2;
    const int64_t own = d.Raw[shown - 2];
    const int64_t answer = d.Raw[shown];
    const int64_t size = steps[p] < 0 ? -steps[p] : steps[p];
    how += ". De " + std::to_string(shown + 1) + "e letter hoort bij de " + names[p] +
           " reeks: " + Places(size) + (steps[p] < 0 ? " vóór de " : " na de ") + LetterOf(own) +
           " komt de <b>" + LetterOf(answer) + "</b> ({antwoord}).";
    if (wrap && (answer < 0 || answer > 25 || own < 0 || own > 25))
        how += " Denk eraan dat het alfabet na de Z weer bij de A begint.";
    d.How = how;
    const int64_t last = d.Raw[shown - 1];
    d.Tempting = {
        {last + steps[1 - p], std::string("{} zou de volgende letter van de ") + names[1 - p] +
                                  " reeks zijn, maar die is pas daarna weer aan de beurt."},
        {answer + (steps[p] < 0 ? -1 : 1), "Wie een letter te ver telt, kiest {}."},
    };
    return d;
}

TDraft AltStep(TRandom& r, int level, bool wrap) {
    const int64_t a = r.Range(2, level >= 3 ? 6 : 4);
    const int64_t b = r.Range(1, a - 1);
    int64_t steps[2] = {a, -b};
    if (r.Chance(35)) {
        steps[0] = -a;
        steps[1] = b;
    }
    const std::size_t shown = 6;
    std::vector<int64_t> offsets{0};
    for (std::size_t i = 0; i < shown; ++i)
        offsets.push_back(offsets.back() + steps[i % 2]);
    TDraft d;
    const int64_t start = PlaceOffsets(r, wrap, offsets, d);
    d.Rule = "fam=altstep start=" + LetterOf(start) + " steps=" + std::to_string(steps[0]) + "," +
             std::to_string(steps[1]);
    const TPlaces places(d.Raw);
    const std::vector<std::string> jumps = Jumps(d.Raw, shown);
    const int64_t next = steps[(shown - 1) % 2];
    const int64_t done = steps[shown % 2];
    const int64_t last = d.Raw[shown - 1];
    d.How = places.Intro(d.Raw, shown) + " De sprongen wisselen elkaar af: " + JoinAnd(jumps) +
            ". Nu is " + Signed(next) + " aan de beurt: " + places.Step(last, next);
    d.Tempting = {
        {last + done,
         "Wie opnieuw " + Signed(done) + " doet, kiest {}, maar de sprongen wisselen elkaar af."},
        {last + next + done,
         "{} gaat een stap te ver: daar is ook " + Signed(done) + " al gedaan."},
    };
    return d;
}

TDraft Draft(TRandom& r, const std::string& family, int level, bool wrap) {
    if (family == "step")
        return Step(r, level, wrap);
    if (family == "grow")
        return Grow(r, level, wrap);
    if (family == "inter")
        return Inter(r, level, wrap);
    return AltStep(r, level, wrap);
}

bool Crosses(const std::vector<int64_t>& raw) {
    return std::any_of(raw.begin(), raw.end(), [](int64_t v) { return v < 0 || v > 25; });
}

TBankQuestion MakeQuestion(TRandom& r, const std::string& family, int level, TTier tier, bool wrap,
                           std::set<std::string>& used) {
    for (int attempt = 0; attempt < 5000; ++attempt) {
        TDraft d = Draft(r, family, level, wrap);
        const std::size_t shown = d.Raw.size() - 1;
        // The test with wrap should mostly show series that do run round.
        if (!wrap && Crosses(d.Raw))
            continue;
        if (wrap && !Crosses(d.Raw) && attempt < 50 && r.Chance(70))
            continue;
        std::vector<int> letters;
        std::string terms;
        for (std::size_t i = 0; i < shown; ++i) {
            letters.push_back(Mod26(d.Raw[i]));
            terms += (i ? "," : "") + LetterOf(d.Raw[i]);
        }
        if (used.count(terms))
            continue;
        // Two equal letters side by side (two interleaved series meeting)
        // read as a misprint.
        bool repeated = false;
        for (std::size_t i = 1; i < letters.size(); ++i)
            repeated = repeated || letters[i] == letters[i - 1];
        if (repeated)
            continue;
        const int answer = Mod26(d.Raw[shown]);
        const std::vector<TSeriesFit> fits = FitLetterSeries(letters, wrap);
        bool ok = !fits.empty();
        for (const TSeriesFit& fit : fits)
            ok = ok && fit.Next == answer;
        if (!ok)
            continue;

        const std::set<int> onPage(letters.begin(), letters.end());
        std::vector<TOption> candidates;
        const auto add = [&](int64_t raw, const std::string& why) {
            if (!wrap && (raw < 0 || raw > 25))
                return;
            if (Mod26(raw) == answer || onPage.count(Mod26(raw)))
                return;
            candidates.push_back({LetterOf(raw), LetterOf(raw), why});
        };
        for (const auto& [raw, why] : d.Tempting)
            add(raw, why);
        const int64_t a = d.Raw[shown];
        for (int64_t delta : {1, -1, 2, -2, 3, -3, 4, -4, 5, -5})
            add(a + delta, "");
        const std::size_t count = tier == TTier::Easy ? 4 : 5;
        const TArranged choices = Arrange(r, {LetterOf(a), LetterOf(a), ""}, candidates, count);
        if (choices.Options.size() != count || !choices.HasReason())
            continue;
        used.insert(terms);

        std::vector<std::string> items;
        for (int l : letters)
            items.push_back(std::string(1, char('A' + l)));
        TBankQuestion q;
        q.Text = "Welke letter volgt?\n\n" + SeriesLine(items) + "\n\n" + choices.Lines();
        q.Answer = std::string(1, choices.KeyLetter());
        q.Explanation = choices.WithKey(d.How) + choices.WrongNotes(2);
        q.Rule = std::string("letters level=") + TierName(tier) + " wrap=" + (wrap ? "1" : "0") +
                 " " + d.Rule + " terms=" + terms + " " + choices.RuleFields();
        return q;
    }
    throw std::runtime_error("no unambiguous " + family + " letter series at level " +
                             std::to_string(level));
}

const std::vector<std::string>& Pool(int level) {
    static const std::vector<std::string> pools[4] = {
        {"step", "step", "inter"},
        {"step", "grow", "inter"},
        {"step", "grow", "inter", "altstep"},
        {"grow", "inter", "altstep", "step"},
    };
    return pools[level];
}

} // namespace

TBankGroup MakeLetterSeriesGroup(uint32_t seed) {
    TBankGroup group;
    group.FileName = "31-letterreeksen";
    group.Code = "letr";
    group.Title = "Letterreeksen";
    const std::size_t count = 20;
    // Shared by the tests of the group: no series or problem twice.
    std::set<std::string> used;
    for (int t = 0; t < 2; ++t) {
        const bool wrap = t == 1;
        TRandom r(SubSeed(seed, 1, t));
        const std::string what =
            "In deze test ziet u steeds een reeks letters die volgens een vaste regel is "
            "opgebouwd. Ontdek de regel en kies welke letter er volgt. Het helpt om bij elke "
            "letter zijn plaats in het alfabet te tellen: A = 1, B = 2, tot en met Z = 26.\n\n" +
            std::string(wrap ? "In deze test loopt het alfabet rond: na de Z komt weer de A, en "
                               "vóór de A komt de Z."
                             : "U gebruikt het gewone alfabet van A tot en met Z. Geen enkele "
                               "reeks loopt voorbij de Z of terug voorbij de A.");
        // The test with wrap starts one level higher.
        group.Tests.push_back(MakeTieredTest(
            r, t, wrap ? "Letterreeksen II" : "Letterreeksen I", what, count, wrap ? 60 : 45, Pool,
            [&](const std::string& family, int level, TTier tier) {
                return MakeQuestion(r, family, level, tier, wrap, used);
            }));
    }
    return group;
}
