// Number series: every family makes the terms from its own parameters, says
// in Dutch how the rule gives the next term, and lists the mistakes a reader
// is likely to make, most tempting first.
#include "tools/bank/numeric_groups.h"

#include <algorithm>
#include <set>
#include <stdexcept>

namespace {

struct TDraft {
    std::string Rule;              // "fam=... <parameters>"
    std::vector<int64_t> Terms;    // the shown terms, then the answer
    std::string How;               // the rule at work, "{antwoord}" for the key
    std::vector<TOption> Tempting; // most tempting first
};

TOption Opt(int64_t value, std::string why = {}) {
    return {Dutch(value), std::to_string(value), std::move(why)};
}

// "+ 3", "- 3", "x 2", ": 2"
std::string OpText(char kind, int64_t value) {
    return std::string(1, kind) + " " + Dutch(value);
}
std::string OpRule(char kind, int64_t value) {
    return std::string(1, kind) + std::to_string(value);
}

int64_t ApplyOp(char kind, int64_t value, int64_t v) {
    switch (kind) {
    case '+':
        return v + value;
    case '-':
        return v - value;
    case 'x':
        return v * value;
    default:
        return v % value == 0 ? v / value : -1;
    }
}

// "3 + 4 = 7, 7 + 4 = 11" over the shown terms.
std::string Chain(const std::vector<int64_t>& t, std::size_t shown, const std::string& op) {
    std::vector<std::string> steps;
    for (std::size_t i = 1; i < shown; ++i)
        steps.push_back(Dutch(t[i - 1]) + " " + op + " = " + Dutch(t[i]));
    std::string text;
    for (std::size_t i = 0; i < steps.size(); ++i)
        text += (i ? ", " : "") + steps[i];
    return text;
}

std::string NextLine(int64_t last, const std::string& op, int64_t answer) {
    return " Het volgende getal is dus " + Dutch(last) + " " + op + " = <b>" + Dutch(answer) +
           "</b> ({antwoord}).";
}

std::vector<int64_t> Arithmetic(int64_t start, int64_t step, std::size_t count) {
    std::vector<int64_t> t;
    for (std::size_t i = 0; i < count; ++i)
        t.push_back(start + int64_t(i) * step);
    return t;
}

// --- the families ------------------------------------------------------------

TDraft Arith(TRandom& r, int level) {
    const std::size_t shown = 5;
    const int64_t size = level == 0 ? r.Range(2, 9) : level == 1 ? r.Range(4, 15) : r.Range(11, 29);
    const bool down = level >= 1 && r.Chance(40);
    const int64_t start =
        down ? size * int64_t(shown) + r.Range(1, 30) : r.Range(1, 20 + 20 * level);
    const int64_t d = down ? -size : size;
    TDraft draft;
    draft.Terms = Arithmetic(start, d, shown + 1);
    draft.Rule = "fam=arith start=" + std::to_string(start) + " step=" + std::to_string(d);
    const int64_t last = draft.Terms[shown - 1];
    const int64_t answer = draft.Terms[shown];
    const std::string op = OpText(down ? '-' : '+', size);
    draft.How = (down ? "Er gaat steeds " + Dutch(size) + " af: "
                      : "Er komt steeds " + Dutch(size) + " bij: ") +
                Chain(draft.Terms, shown, op) + "." + NextLine(last, op, answer);
    draft.Tempting = {
        Opt(answer + d, "{} is een stap te ver: er " +
                            std::string(down ? "gaat maar één keer " + Dutch(size) + " af."
                                             : "komt maar één keer " + Dutch(size) + " bij.")),
        Opt(answer + (down ? -1 : 1), down ? "Wie denkt dat er steeds één meer af gaat, kiest {}, "
                                             "maar er gaat steeds precies " +
                                                 Dutch(size) + " af."
                                           : "Wie denkt dat er steeds één meer bij komt, kiest {}, "
                                             "maar er komt steeds precies " +
                                                 Dutch(size) + " bij."),
    };
    return draft;
}

TDraft Geom(TRandom& r, int level) {
    // The ratio as Num/Den: doubling is 2/1, halving 1/2.
    struct Kind {
        int64_t Num, Den;
    };
    std::vector<Kind> kinds;
    if (level == 0)
        kinds = {{2, 1}, {3, 1}, {1, 2}};
    else if (level == 1)
        kinds = {{2, 1}, {3, 1}, {4, 1}, {1, 2}, {1, 3}};
    else
        kinds = {{3, 1}, {4, 1}, {5, 1}, {1, 2}, {1, 3}, {1, 4}, {3, 2}};
    const Kind k = r.Pick(kinds);
    const std::size_t shown = (k.Num >= 4 || k.Den >= 3) ? 4 : 5;
    int64_t start;
    if (k.Den == 1)
        start = k.Num == 2 ? r.Range(1, 3 + 2 * level) : r.Range(1, 2 + level);
    else {
        // One factor more than needed, so that the step too far is whole too
        // and can be offered as a tempting choice.
        int64_t unit = 1;
        for (std::size_t i = 0; i <= shown; ++i)
            unit *= k.Den;
        start = unit * (k.Num == 1 && k.Den == 2 ? r.Range(1, 3 + level) : r.Range(1, 2));
    }
    TDraft draft;
    for (int64_t v = start; draft.Terms.size() < shown + 1; v = v * k.Num / k.Den)
        draft.Terms.push_back(v);
    draft.Rule = "fam=geom start=" + std::to_string(start) + " ratio=" + std::to_string(k.Num) +
                 (k.Den == 1 ? "" : "/" + std::to_string(k.Den));
    const int64_t last = draft.Terms[shown - 1];
    const int64_t prev = draft.Terms[shown - 2];
    const int64_t answer = draft.Terms[shown];
    std::string op;
    std::string phrase;
    if (k.Den == 1) {
        op = OpText('x', k.Num);
        phrase = k.Num == 2 ? "elk getal is het dubbele van het vorige"
                            : "elk getal is " + Dutch(k.Num) + " keer zo groot als het vorige";
    } else if (k.Num == 1) {
        op = OpText(':', k.Den);
        phrase = std::string("elk getal is ") +
                 (k.Den == 2   ? "de helft"
                  : k.Den == 3 ? "een derde"
                               : "een kwart") +
                 " van het vorige";
    } else {
        op = "x 1,5";
        phrase = "elk getal is anderhalf keer het vorige";
    }
    std::string how = phrase + ": " + Chain(draft.Terms, shown, op) + ".";
    how[0] = 'E';
    draft.How = how + NextLine(last, op, answer);
    draft.Tempting = {
        Opt(last + (last - prev), "Wie alleen naar het laatste verschil (" + Signed(last - prev) +
                                      ") kijkt en dat herhaalt, kiest {}, maar de getallen "
                                      "veranderen niet met een vast getal: " +
                                      phrase + "."),
        Opt(k.Den == 1 || answer % k.Den == 0 ? answer * k.Num / k.Den : -1,
            "{} is een stap te ver: dat getal komt pas daarna."),
    };
    return draft;
}

TDraft Diff2(TRandom& r, int level) {
    const std::size_t shown = 5;
    int64_t start, step, grow;
    // A: differences grow, B: they shrink but stay positive, C: ever more is
    // taken off.
    char kind = 'A';
    if (level >= 2)
        kind = r.Pick(std::vector<char>{'A', 'A', 'B', 'C'});
    if (kind == 'A') {
        grow = level == 0 ? 1 : level == 1 ? r.Range(1, 2) : r.Range(2, 2 + level);
        step = r.Range(1, 3 + 2 * level);
        start = r.Range(1, 10 + 10 * level);
    } else if (kind == 'B') {
        grow = -r.Range(1, level);
        step = -grow * int64_t(shown) + r.Range(1, 6);
        start = r.Range(1, 30);
    } else {
        grow = -r.Range(2, 2 + level);
        step = -r.Range(1, 6);
        start = r.Range(40, 60) * int64_t(level);
    }
    TDraft draft;
    for (int64_t v = start, d = step; draft.Terms.size() < shown + 1; v += d, d += grow)
        draft.Terms.push_back(v);
    draft.Rule = "fam=diff2 start=" + std::to_string(start) + " step=" + std::to_string(step) +
                 " grow=" + std::to_string(grow);
    const int64_t last = draft.Terms[shown - 1];
    const int64_t answer = draft.Terms[shown];
    const int64_t lastDiff = last - draft.Terms[shown - 2];
    const int64_t firstDiff = draft.Terms[1] - draft.Terms[0];
    const int64_t nextDiff = answer - last;
    std::vector<std::string> diffs;
    for (std::size_t i = 1; i < shown; ++i)
        diffs.push_back(Signed(draft.Terms[i] - draft.Terms[i - 1]));
    std::string how = "Kijk naar de verschillen: " + JoinAnd(diffs) + ". ";
    std::string tail;
    if (kind == 'A') {
        how += "Het verschil wordt steeds " + Amount(grow) + " groter, dus nu komt er " +
               Dutch(nextDiff) + " bij: ";
        tail = "maar de verschillen worden steeds " + Amount(grow) + " groter.";
    } else if (kind == 'B') {
        how += "Het verschil wordt steeds " + Amount(-grow) + " kleiner, dus nu komt er " +
               Dutch(nextDiff) + " bij: ";
        tail = "maar de verschillen worden steeds " + Amount(-grow) + " kleiner.";
    } else {
        how += "Er gaat steeds " + Amount(-grow) + " meer af, dus nu gaat er " + Dutch(-nextDiff) +
               " af: ";
        tail = "maar er gaat steeds " + Amount(-grow) + " meer af.";
    }
    const std::string firstTail = "maar het verschil blijft niet gelijk.";
    const std::string op = OpText(nextDiff < 0 ? '-' : '+', nextDiff < 0 ? -nextDiff : nextDiff);
    how += Dutch(last) + " " + op + " = <b>" + Dutch(answer) + "</b> ({antwoord}).";
    draft.How = how;
    draft.Tempting = {
        Opt(last + lastDiff,
            "Wie het laatste verschil (" + Signed(lastDiff) + ") herhaalt, kiest {}, " + tail),
        Opt(last + firstDiff, "Wie alleen naar het eerste verschil (" + Signed(firstDiff) +
                                  ") kijkt, kiest {}, " + firstTail),
        Opt(last + nextDiff + grow, "{} gaat een stap te ver: het volgende verschil is " +
                                        Signed(nextDiff) + ", niet " + Signed(nextDiff + grow) +
                                        "."),
    };
    return draft;
}

TDraft Fib(TRandom& r, int level) {
    int64_t a, b;
    std::size_t shown;
    if (level <= 1) {
        a = r.Range(1, 3);
        b = a + r.Range(0, 3);
        shown = 6;
    } else if (level == 2) {
        a = r.Range(1, 8);
        b = r.Range(2, 10);
        shown = r.Chance(50) ? 5 : 6;
    } else {
        a = r.Range(3, 15);
        b = r.Range(1, 20);
        shown = 5;
    }
    TDraft draft;
    draft.Terms = {a, b};
    while (draft.Terms.size() < shown + 1)
        draft.Terms.push_back(draft.Terms[draft.Terms.size() - 1] +
                              draft.Terms[draft.Terms.size() - 2]);
    draft.Rule = "fam=fib first=" + std::to_string(a) + " second=" + std::to_string(b);
    const std::vector<int64_t>& t = draft.Terms;
    std::vector<std::string> sums;
    for (std::size_t i = 2; i < shown; ++i)
        sums.push_back(Dutch(t[i - 2]) + " + " + Dutch(t[i - 1]) + " = " + Dutch(t[i]));
    std::string chain;
    for (std::size_t i = 0; i < sums.size(); ++i)
        chain += (i ? ", " : "") + sums[i];
    const int64_t last = t[shown - 1];
    const int64_t prev = t[shown - 2];
    const int64_t answer = t[shown];
    draft.How = "Elk getal is de som van de twee getallen ervoor: " + chain +
                ". Het volgende getal is dus " + Dutch(prev) + " + " + Dutch(last) + " = <b>" +
                Dutch(answer) + "</b> ({antwoord}).";
    draft.Tempting = {
        Opt(last + (last - prev), "Wie het laatste verschil (" + Signed(last - prev) +
                                      ") herhaalt, kiest {}, maar hier telt u steeds de laatste "
                                      "twee getallen bij elkaar op."),
        Opt(2 * last, "Wie het laatste getal verdubbelt, kiest {}, maar het laatste getal hoort "
                      "bij het getal ervóór opgeteld te worden, niet bij zichzelf."),
        Opt(last + prev + t[shown - 3], "Wie de laatste drie getallen optelt, kiest {}, maar de "
                                        "regel telt er telkens twee op."),
    };
    return draft;
}

TDraft MulAdd(TRandom& r, int level) {
    int64_t mul, add, start;
    std::size_t shown = 5;
    if (level <= 2) {
        mul = 2;
        add = r.Pick(std::vector<int64_t>{1, 2, 3, -1});
        start = r.Range(2, 6);
    } else if (level == 3) {
        mul = r.Range(2, 3);
        add = r.Pick(std::vector<int64_t>{-4, -3, -2, -1, 1, 2, 3, 4, 5});
        start = r.Range(2, 6);
        shown = mul == 3 ? 4 : 5;
    } else {
        mul = r.Range(2, 4);
        add = r.Pick(std::vector<int64_t>{-6, -5, -4, -3, -2, -1, 1, 2, 3, 4, 5, 6, 7});
        start = r.Range(2, 9);
        shown = mul >= 3 ? 4 : 5;
    }
    TDraft draft;
    for (int64_t v = start; draft.Terms.size() < shown + 1; v = v * mul + add)
        draft.Terms.push_back(v);
    draft.Rule = "fam=muladd start=" + std::to_string(start) + " mul=" + std::to_string(mul) +
                 " add=" + std::to_string(add);
    const std::string addOp = OpText(add < 0 ? '-' : '+', add < 0 ? -add : add);
    const std::string op = OpText('x', mul) + " " + addOp;
    const int64_t last = draft.Terms[shown - 1];
    const int64_t prev = draft.Terms[shown - 2];
    const int64_t answer = draft.Terms[shown];
    const int64_t size = add < 0 ? -add : add;
    draft.How = "Elk getal is " + Dutch(mul) + " keer het vorige " + (add < 0 ? "min " : "plus ") +
                Dutch(size) + ": " + Chain(draft.Terms, shown, op) + "." +
                NextLine(last, op, answer);
    draft.Tempting = {
        Opt(last * mul, "Wie alleen met " + Dutch(mul) +
                            " vermenigvuldigt, kiest {}, maar vergeet "
                            "dan dat er daarna nog " +
                            Dutch(size) + (add < 0 ? " af gaat." : " bij komt.")),
        Opt((last + add) * mul, std::string("Wie eerst ") + Dutch(size) +
                                    (add < 0 ? " aftrekt" : " optelt") + " en dan met " +
                                    Dutch(mul) +
                                    " vermenigvuldigt, komt op {}, maar de volgorde is andersom: "
                                    "eerst " +
                                    OpText('x', mul) + ", dan " + addOp + "."),
        Opt(last + (last - prev), "Wie het laatste verschil (" + Signed(last - prev) +
                                      ") herhaalt, kiest {}, maar de verschillen worden steeds "
                                      "groter."),
        Opt(answer * mul + add, "{} is een stap te ver: dat getal komt pas daarna."),
    };
    return draft;
}

TDraft Power(TRandom& r, int level) {
    int exponent = 2;
    int64_t base, add = 0;
    std::size_t shown = 5;
    const auto offset = [&](int64_t size) {
        const int64_t v = r.Range(1, size);
        return r.Chance(50) ? v : -v;
    };
    if (level == 0) {
        base = r.Range(1, 4);
    } else if (level == 1) {
        if (r.Chance(30)) {
            exponent = 3;
            base = 1;
            shown = 4;
        } else {
            base = r.Range(2, 8);
        }
    } else if (level == 2) {
        base = r.Range(1, 6);
        add = offset(5);
    } else if (level == 3) {
        if (r.Chance(40)) {
            exponent = 3;
            base = r.Range(1, 3);
            shown = r.Chance(50) ? 4 : 5;
        } else {
            base = r.Range(4, 9);
            add = offset(9);
        }
    } else {
        if (r.Chance(60)) {
            exponent = 3;
            base = r.Range(1, 4);
            add = offset(5);
        } else {
            base = r.Range(5, 12);
            add = offset(12);
        }
    }
    const auto value = [&](int64_t b) { return (exponent == 2 ? b * b : b * b * b) + add; };
    const auto product = [&](int64_t b) {
        std::string text = Dutch(b) + " x " + Dutch(b) + (exponent == 3 ? " x " + Dutch(b) : "");
        if (add != 0)
            text += " " + OpText(add < 0 ? '-' : '+', add < 0 ? -add : add);
        return text;
    };
    TDraft draft;
    for (std::size_t i = 0; i <= shown; ++i)
        draft.Terms.push_back(value(base + int64_t(i)));
    draft.Rule = "fam=power base=" + std::to_string(base) + " exp=" + std::to_string(exponent) +
                 " add=" + std::to_string(add);
    std::vector<std::string> steps;
    for (std::size_t i = 0; i < shown; ++i)
        steps.push_back(product(base + int64_t(i)) + " = " + Dutch(draft.Terms[i]));
    std::string chain;
    for (std::size_t i = 0; i < steps.size(); ++i)
        chain += (i ? ", " : "") + steps[i];
    const std::string plus =
        add == 0 ? "" : std::string(add < 0 ? " min " : " plus ") + Dutch(add < 0 ? -add : add);
    std::string how;
    if (exponent == 2)
        how = add == 0 ? "Dit zijn de kwadraten: " : "Elk getal is een kwadraat" + plus + ": ";
    else
        how = add == 0 ? "Dit zijn derdemachten, getallen die drie keer met zichzelf "
                         "vermenigvuldigd zijn: "
                       : "Elk getal is een derdemacht (een getal drie keer met zichzelf "
                         "vermenigvuldigd)" +
                             plus + ": ";
    const int64_t next = base + int64_t(shown);
    const int64_t last = draft.Terms[shown - 1];
    const int64_t answer = draft.Terms[shown];
    draft.How = how + chain + ". Het volgende getal is dus " + product(next) + " = <b>" +
                Dutch(answer) + "</b> ({antwoord}).";
    const int64_t lastDiff = last - draft.Terms[shown - 2];
    draft.Tempting = {
        Opt(last + lastDiff, "Wie het laatste verschil (" + Signed(lastDiff) +
                                 ") herhaalt, kiest {}, maar de verschillen worden steeds groter."),
        Opt(value(next + 1), "{} is een stap te ver: dat is " + product(next + 1) + "."),
    };
    if (add != 0)
        draft.Tempting.push_back(Opt(
            answer - add, "Wie vergeet er " + Dutch(add < 0 ? -add : add) +
                              (add < 0 ? " af te trekken" : " bij op te tellen") + ", kiest {}."));
    return draft;
}

TDraft Inter(TRandom& r, int level) {
    struct Sub {
        int64_t Start;
        char Kind;
        int64_t Value;
    };
    Sub s[2];
    std::size_t shown = 6;
    if (level == 0) {
        s[0] = {r.Range(1, 9), '+', r.Range(1, 3)};
        s[1] = {r.Range(10, 30), '+', r.Range(2, 5)};
    } else if (level == 1) {
        s[0] = {r.Range(1, 10), '+', r.Range(1, 4)};
        s[1] = {r.Range(20, 40), '-', r.Range(1, 4)};
    } else if (level == 2) {
        s[0] = {r.Range(1, 10), '+', r.Range(2, 6)};
        s[1] = {r.Range(1, 4), 'x', 2};
        shown = r.Chance(50) ? 6 : 7;
    } else {
        s[0] = {r.Range(30, 60), '-', r.Range(3, 7)};
        s[1] = r.Chance(50) ? Sub{r.Range(1, 3), 'x', 3} : Sub{64 * r.Range(1, 3), ':', 2};
        if (level == 4)
            s[0] = {r.Range(5, 20), '+', r.Range(6, 12)};
        shown = 7;
    }
    if (r.Chance(50))
        std::swap(s[0], s[1]);
    TDraft draft;
    int64_t v[2] = {s[0].Start, s[1].Start};
    for (std::size_t i = 0; i <= shown; ++i) {
        draft.Terms.push_back(v[i % 2]);
        v[i % 2] = ApplyOp(s[i % 2].Kind, s[i % 2].Value, v[i % 2]);
    }
    draft.Rule = "fam=inter s1=" + std::to_string(s[0].Start) +
                 " op1=" + OpRule(s[0].Kind, s[0].Value) + " s2=" + std::to_string(s[1].Start) +
                 " op2=" + OpRule(s[1].Kind, s[1].Value);
    const std::size_t p = shown % 2; // the series the answer belongs to
    const char* names[2] = {"eerste", "tweede"};
    std::string how = "Hier lopen twee reeksen door elkaar.";
    for (int k = 0; k < 2; ++k) {
        std::vector<std::string> places, values;
        for (std::size_t i = std::size_t(k); i < shown; i += 2) {
            places.push_back(std::to_string(i + 1) + "e");
            values.push_back(Dutch(draft.Terms[i]));
        }
        how += std::string(k == 0 ? " Op de " : "; op de ") + JoinAnd(places) + " plaats staat " +
               JoinAnd(values) + " (steeds " + OpText(s[k].Kind, s[k].Value) + ")";
    }
    const int64_t own = draft.Terms[shown - 2];
    const int64_t answer = draft.Terms[shown];
    how += ". Het " + std::to_string(shown + 1) + "e getal hoort bij de " + names[p] +
           " reeks: " + Dutch(own) + " " + OpText(s[p].Kind, s[p].Value) + " = <b>" +
           Dutch(answer) + "</b> ({antwoord}).";
    draft.How = how;
    const int64_t last = draft.Terms[shown - 1];
    const int64_t other = ApplyOp(s[1 - p].Kind, s[1 - p].Value, last);
    draft.Tempting = {
        Opt(other, std::string("{} zou het volgende getal van de ") + names[1 - p] +
                       " reeks zijn, maar die is pas daarna weer aan de beurt."),
        Opt(last + (last - draft.Terms[shown - 2]),
            "Wie alle getallen als één reeks leest en het laatste verschil herhaalt, kiest {}."),
        Opt(ApplyOp(s[1 - p].Kind, s[1 - p].Value, own),
            std::string("Wie bij de ") + names[p] + " reeks de stap van de " + names[1 - p] +
                " reeks gebruikt, kiest {}."),
    };
    return draft;
}

TDraft AltOps(TRandom& r, int level) {
    struct Op {
        char Kind;
        int64_t Value;
    };
    Op ops[2];
    int64_t start;
    std::size_t shown = 6;
    if (level <= 1) {
        const int64_t a = r.Range(2, 5);
        ops[0] = {'+', a};
        ops[1] = {'-', r.Range(1, a - 1)};
        start = r.Range(1, 10);
    } else if (level == 2) {
        const int choice = int(r.Range(0, 2));
        if (choice == 0) {
            ops[0] = {'+', r.Range(1, 5)};
            ops[1] = {'x', 2};
        } else if (choice == 1) {
            ops[0] = {'x', 2};
            ops[1] = {'+', r.Range(1, 5)};
        } else {
            const int64_t a = r.Range(5, 9);
            ops[0] = {'+', a};
            ops[1] = {'-', r.Range(2, a - 2)};
        }
        start = r.Range(1, 5);
        shown = r.Chance(50) ? 5 : 6;
    } else {
        const int choice = int(r.Range(0, 2));
        if (choice == 0) {
            ops[0] = {'x', 2};
            ops[1] = {'-', r.Range(1, 4)};
            start = r.Range(5, 9);
        } else if (choice == 1) {
            ops[0] = {'+', r.Range(1, 4)};
            ops[1] = {'x', 3};
            start = r.Range(1, 4);
        } else {
            ops[0] = {'x', 3};
            ops[1] = {'-', r.Range(2, 8)};
            start = r.Range(3, 6);
            shown = level == 4 ? 6 : 5;
        }
    }
    TDraft draft;
    draft.Terms.push_back(start);
    while (draft.Terms.size() <= shown) {
        const Op& op = ops[(draft.Terms.size() - 1) % 2];
        draft.Terms.push_back(ApplyOp(op.Kind, op.Value, draft.Terms.back()));
    }
    draft.Rule = "fam=altops start=" + std::to_string(start) +
                 " ops=" + OpRule(ops[0].Kind, ops[0].Value) + "," +
                 OpRule(ops[1].Kind, ops[1].Value);
    std::vector<std::string> steps;
    for (std::size_t i = 1; i < shown; ++i) {
        const Op& op = ops[(i - 1) % 2];
        steps.push_back(Dutch(draft.Terms[i - 1]) + " " + OpText(op.Kind, op.Value) + " = " +
                        Dutch(draft.Terms[i]));
    }
    std::string chain;
    for (std::size_t i = 0; i < steps.size(); ++i)
        chain += (i ? ", " : "") + steps[i];
    const Op& next = ops[(shown - 1) % 2];
    const Op& done = ops[shown % 2];
    const std::string nextText = OpText(next.Kind, next.Value);
    const std::string doneText = OpText(done.Kind, done.Value);
    const int64_t last = draft.Terms[shown - 1];
    const int64_t answer = draft.Terms[shown];
    draft.How = "Twee bewerkingen wisselen elkaar af: eerst " + OpText(ops[0].Kind, ops[0].Value) +
                ", dan " + OpText(ops[1].Kind, ops[1].Value) + ". " + chain + ". Nu is " +
                nextText + " weer aan de beurt: " + Dutch(last) + " " + nextText + " = <b>" +
                Dutch(answer) + "</b> ({antwoord}).";
    draft.Tempting = {
        Opt(ApplyOp(done.Kind, done.Value, last),
            "Wie opnieuw " + doneText +
                " doet, kiest {}, maar de bewerkingen wisselen elkaar af: na " + doneText +
                " komt " + nextText + "."),
        Opt(ApplyOp(done.Kind, done.Value, answer),
            "{} gaat een stap te ver: daar is na " + nextText + " ook " + doneText + " al gedaan."),
        Opt(last + (last - draft.Terms[shown - 2]),
            "Wie het laatste verschil (" + Signed(last - draft.Terms[shown - 2]) +
                ") herhaalt, kiest {}, maar de getallen ontstaan met twee bewerkingen om en om."),
    };
    return draft;
}

TDraft Draft(TRandom& r, const std::string& family, int level) {
    if (family == "arith")
        return Arith(r, level);
    if (family == "geom")
        return Geom(r, level);
    if (family == "diff2")
        return Diff2(r, level);
    if (family == "fib")
        return Fib(r, level);
    if (family == "muladd")
        return MulAdd(r, level);
    if (family == "power")
        return Power(r, level);
    if (family == "inter")
        return Inter(r, level);
    return AltOps(r, level);
}

// Largest answer per level: the series stay within mental arithmetic.
int64_t MaxValue(int level) {
    static const int64_t limits[] = {150, 300, 800, 1500, 2500};
    return limits[level];
}

TBankQuestion MakeQuestion(TRandom& r, const std::string& family, int level, TTier tier,
                           std::set<std::string>& used) {
    for (int attempt = 0; attempt < 5000; ++attempt) {
        TDraft draft = Draft(r, family, level);
        const std::size_t shown = draft.Terms.size() - 1;
        const int64_t answer = draft.Terms.back();
        bool ok = answer <= MaxValue(level);
        for (int64_t v : draft.Terms)
            ok = ok && v > 0;
        std::string terms;
        for (std::size_t i = 0; i < shown; ++i)
            terms += (i ? "," : "") + std::to_string(draft.Terms[i]);
        // Two interleaved series that meet show the same number twice in a
        // row, which reads as a misprint.
        for (std::size_t i = 1; i < shown && family == "inter"; ++i)
            ok = ok && draft.Terms[i] != draft.Terms[i - 1];
        if (!ok || used.count(terms))
            continue;
        // Every reading of the shown terms must lead to the same answer, or a
        // careful reader could defend another one.
        const std::vector<int64_t> shownTerms(draft.Terms.begin(), draft.Terms.end() - 1);
        const std::vector<TSeriesFit> fits = FitNumberSeries(shownTerms);
        ok = !fits.empty();
        for (const TSeriesFit& fit : fits)
            ok = ok && fit.Next == answer;
        if (!ok)
            continue;

        const std::set<int64_t> onPage(shownTerms.begin(), shownTerms.end());
        std::vector<TOption> candidates;
        for (const TOption& o : draft.Tempting) {
            const int64_t v = std::stoll(o.Value);
            if (v > 0 && v != answer && !onPage.count(v))
                candidates.push_back(o);
        }
        const int64_t spread = std::max<int64_t>(2, answer / 20);
        for (int64_t delta : {int64_t(1), int64_t(-1), spread, -spread, int64_t(2), int64_t(-2),
                              int64_t(10), int64_t(-10), 2 * spread, -2 * spread})
            if (answer + delta > 0 && !onPage.count(answer + delta))
                candidates.push_back(Opt(answer + delta));
        const std::size_t count = tier == TTier::Easy ? 4 : 5;
        const TArranged choices = Arrange(r, Opt(answer), candidates, count);
        if (choices.Options.size() != count || !choices.HasReason())
            continue;
        used.insert(terms);

        std::vector<std::string> items;
        for (int64_t v : shownTerms)
            items.push_back(Dutch(v));
        TBankQuestion q;
        q.Text = "Welk getal volgt?\n\n" + SeriesLine(items) + "\n\n" + choices.Lines();
        q.Answer = std::string(1, choices.KeyLetter());
        q.Explanation = choices.WithKey(draft.How) + choices.WrongNotes(2);
        q.Rule = std::string("series level=") + TierName(tier) + " " + draft.Rule +
                 " terms=" + terms + " " + choices.RuleFields();
        return q;
    }
    throw std::runtime_error("no unambiguous " + family + " series at level " +
                             std::to_string(level));
}

// The families per difficulty level; a test at level L uses L, L+1 and L+2
// for its three thirds.
const std::vector<std::string>& Pool(int level) {
    static const std::vector<std::string> pools[5] = {
        {"arith", "geom", "diff2", "power", "inter"},
        {"arith", "geom", "diff2", "fib", "inter", "altops", "power"},
        {"diff2", "fib", "inter", "muladd", "altops", "power", "geom"},
        {"muladd", "altops", "power", "inter", "diff2", "fib"},
        {"muladd", "altops", "power", "inter", "diff2", "fib"},
    };
    return pools[level];
}

} // namespace

TBankGroup MakeNumberSeriesGroup(uint32_t seed) {
    TBankGroup group;
    group.FileName = "30-getallenreeksen";
    group.Code = "getl";
    group.Title = "Getallenreeksen";
    static const char* names[] = {"I", "II", "III"};
    static const int seconds[] = {45, 50, 60};
    const std::size_t count = 25;
    // Shared by the tests of the group: no series or problem twice.
    std::set<std::string> used;
    for (int t = 0; t < 3; ++t) {
        TRandom r(SubSeed(seed, 0, t));
        group.Tests.push_back(MakeTieredTest(
            r, t, std::string("Getallenreeksen ") + names[t],
            "In deze test ziet u steeds een reeks getallen die volgens een vaste regel is "
            "opgebouwd. Ontdek de regel en kies welk getal er volgt.",
            count, seconds[t], Pool, [&](const std::string& family, int level, TTier tier) {
                return MakeQuestion(r, family, level, tier, used);
            }));
    }
    return group;
}
