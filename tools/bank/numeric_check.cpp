#include "tools/bank/numeric_check.h"
#include "tools/bank/bank_check.h"

#include <algorithm>
#include <charconv>
#include <functional>
#include <map>
#include <numeric>
#include <set>

namespace {

__extension__ typedef __int128 Wide;

// Far beyond any shown term; keeps every product below overflow.
constexpr int64_t kLimit = 1'000'000'000'000LL;

bool InRange(Wide v) {
    return v >= -kLimit && v <= kLimit;
}

Wide Gcd(Wide a, Wide b) {
    if (a < 0)
        a = -a;
    if (b < 0)
        b = -b;
    while (b != 0) {
        const Wide r = a % b;
        a = b;
        b = r;
    }
    return a;
}

TFraction Make(Wide num, Wide den) {
    if (den == 0)
        return TFraction(0, 0);
    if (den < 0) {
        num = -num;
        den = -den;
    }
    const Wide g = Gcd(num, den);
    if (g > 1) {
        num /= g;
        den /= g;
    }
    if (!InRange(num) || !InRange(den))
        return TFraction(0, 0);
    TFraction f;
    f.Num = int64_t(num);
    f.Den = int64_t(den);
    return f;
}

} // namespace

TFraction::TFraction(int64_t num, int64_t den) {
    if (den == 0) {
        Num = 0;
        Den = 0;
        return;
    }
    *this = Make(num, den);
}

TFraction operator+(TFraction a, TFraction b) {
    if (!a.Valid() || !b.Valid())
        return TFraction(0, 0);
    return Make(Wide(a.Num) * b.Den + Wide(b.Num) * a.Den, Wide(a.Den) * b.Den);
}

TFraction operator-(TFraction a, TFraction b) {
    if (!a.Valid() || !b.Valid())
        return TFraction(0, 0);
    return Make(Wide(a.Num) * b.Den - Wide(b.Num) * a.Den, Wide(a.Den) * b.Den);
}

TFraction operator*(TFraction a, TFraction b) {
    if (!a.Valid() || !b.Valid())
        return TFraction(0, 0);
    return Make(Wide(a.Num) * b.Num, Wide(a.Den) * b.Den);
}

TFraction operator/(TFraction a, TFraction b) {
    if (!a.Valid() || !b.Valid() || b.Num == 0)
        return TFraction(0, 0);
    return Make(Wide(a.Num) * b.Den, Wide(a.Den) * b.Num);
}

bool operator<(TFraction a, TFraction b) {
    return Wide(a.Num) * b.Den < Wide(b.Num) * a.Den;
}

std::string TFraction::ToDecimal() const {
    if (!Valid())
        return {};
    if (Den == 1)
        return std::to_string(Num);
    int64_t scale = 1;
    int digits = 0;
    while (scale % Den != 0) {
        if (++digits > 6)
            return {};
        scale *= 10;
    }
    const Wide scaled = Wide(Num) * (scale / Den);
    const Wide magnitude = scaled < 0 ? -scaled : scaled;
    std::string frac = std::to_string(int64_t(magnitude % scale));
    frac.insert(0, std::size_t(digits) - frac.size(), '0');
    while (!frac.empty() && frac.back() == '0')
        frac.pop_back();
    return (scaled < 0 ? "-" : "") + std::to_string(int64_t(magnitude / scale)) + "." + frac;
}

std::optional<TFraction> TFraction::Parse(std::string_view text) {
    const auto parseInt = [](std::string_view s) -> std::optional<int64_t> {
        int64_t v = 0;
        if (s.empty() || s[0] == '+')
            return std::nullopt;
        const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
        if (ec != std::errc() || end != s.data() + s.size() || v > kLimit || v < -kLimit)
            return std::nullopt;
        return v;
    };
    if (const std::size_t slash = text.find('/'); slash != std::string_view::npos) {
        const auto num = parseInt(text.substr(0, slash));
        const auto den = parseInt(text.substr(slash + 1));
        if (!num || !den || *den == 0)
            return std::nullopt;
        return TFraction(*num, *den);
    }
    const std::size_t dot = text.find('.');
    if (dot == std::string_view::npos) {
        const auto v = parseInt(text);
        return v ? std::optional<TFraction>(TFraction(*v)) : std::nullopt;
    }
    const std::string_view whole = text.substr(0, dot);
    const std::string_view frac = text.substr(dot + 1);
    if (frac.empty() || frac.size() > 6 ||
        !std::all_of(frac.begin(), frac.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    const bool negative = !whole.empty() && whole[0] == '-';
    const auto w = parseInt(negative ? whole.substr(1) : whole);
    const auto f = parseInt(frac);
    if (!w || !f)
        return std::nullopt;
    int64_t scale = 1;
    for (std::size_t i = 0; i < frac.size(); ++i)
        scale *= 10;
    const TFraction magnitude = TFraction(*w) + TFraction(*f, scale);
    return negative ? TFraction(0) - magnitude : magnitude;
}

// ---------------------------------------------------------------------------
// Reading a series in every way we know.

namespace {

using Terms = std::vector<int64_t>;

Terms Diffs(const Terms& t) {
    Terms d;
    for (std::size_t i = 1; i < t.size(); ++i)
        d.push_back(t[i] - t[i - 1]);
    return d;
}

std::optional<int64_t> ArithNext(const Terms& t, std::size_t minSize) {
    if (t.size() < minSize || t.size() < 2)
        return std::nullopt;
    const int64_t d = t[1] - t[0];
    for (std::size_t i = 2; i < t.size(); ++i)
        if (t[i] - t[i - 1] != d)
            return std::nullopt;
    return t.back() + d;
}

// Constant ratio, a fraction like 3/2 allowed; the next term must be whole.
std::optional<int64_t> GeomNext(const Terms& t, std::size_t minSize) {
    if (t.size() < minSize || t.size() < 2 || t[0] == 0 || t[1] == 0)
        return std::nullopt;
    const TFraction ratio(t[1], t[0]);
    for (std::size_t i = 2; i < t.size(); ++i)
        if (!(TFraction(t[i - 1]) * ratio == TFraction(t[i])))
            return std::nullopt;
    const TFraction next = TFraction(t.back()) * ratio;
    if (!next.Valid() || !next.IsInteger())
        return std::nullopt;
    return next.Num;
}

void Add(std::vector<TSeriesFit>& fits, const char* family, std::optional<Wide> next) {
    if (next && InRange(*next))
        fits.push_back({family, int64_t(*next)});
}

Wide Power(Wide base, int exponent) {
    Wide r = 1;
    for (int i = 0; i < exponent; ++i)
        r *= base;
    return r;
}

void FitPowers(const Terms& t, std::vector<TSeriesFit>& fits) {
    const std::size_t n = t.size();
    for (int p = 2; p <= 3; ++p) {
        const char* family = p == 2 ? "squares plus a constant" : "cubes plus a constant";
        // Rising bases k, k+1, ...; the first step fixes k.
        for (Wide k = 0; k < 5000; ++k) {
            const Wide step = Power(k + 1, p) - Power(k, p);
            if (step > t[1] - t[0])
                break;
            if (step != t[1] - t[0])
                continue;
            const Wide c = t[0] - Power(k, p);
            bool ok = true;
            for (std::size_t i = 0; i < n && ok; ++i)
                ok = Power(k + Wide(i), p) + c == t[i];
            if (ok)
                Add(fits, family, Power(k + Wide(n), p) + c);
        }
        // Falling bases k, k-1, ... down to zero at the predicted term at most.
        for (Wide k = Wide(n); k < 5000; ++k) {
            const Wide step = Power(k - 1, p) - Power(k, p);
            if (step < t[1] - t[0])
                break;
            if (step != t[1] - t[0])
                continue;
            const Wide c = t[0] - Power(k, p);
            bool ok = true;
            for (std::size_t i = 0; i < n && ok; ++i)
                ok = Power(k - Wide(i), p) + c == t[i];
            if (ok)
                Add(fits, family, Power(k - Wide(n), p) + c);
        }
    }
}

// Two series at the odd and even places; each arithmetic or geometric, and
// each shown with at least three terms so that its rule is confirmed.
void FitInterleaved(const Terms& t, std::vector<TSeriesFit>& fits) {
    const std::size_t n = t.size();
    if (n < 6)
        return;
    Terms sub[2];
    for (std::size_t i = 0; i < n; ++i)
        sub[i % 2].push_back(t[i]);
    const Terms& next = sub[n % 2];
    const Terms& other = sub[1 - n % 2];
    if (!ArithNext(other, 3) && !GeomNext(other, 3))
        return;
    Add(fits, "two interleaved series", ArithNext(next, 3));
    Add(fits, "two interleaved series", GeomNext(next, 3));
}

// Two operations taking turns: +a then xb, +a then -b, xa then xb ...
void FitAlternatingOps(const Terms& t, std::vector<TSeriesFit>& fits) {
    const std::size_t n = t.size();
    if (n < 5)
        return;
    struct Op {
        bool Multiply = false;
        TFraction Value;
    };
    const auto make = [](bool multiply, int64_t from, int64_t to) -> std::optional<Op> {
        if (!multiply)
            return Op{false, TFraction(to - from)};
        if (from == 0 || to == 0)
            return std::nullopt;
        return Op{true, TFraction(to, from)};
    };
    const auto apply = [](const Op& op, int64_t v) -> std::optional<int64_t> {
        const TFraction r = op.Multiply ? TFraction(v) * op.Value : TFraction(v) + op.Value;
        if (!r.Valid() || !r.IsInteger())
            return std::nullopt;
        return r.Num;
    };
    for (int kinds = 0; kinds < 4; ++kinds) {
        const auto op1 = make(kinds & 1, t[0], t[1]);
        const auto op2 = make(kinds & 2, t[1], t[2]);
        if (!op1 || !op2)
            continue;
        const Op ops[2] = {*op1, *op2};
        bool ok = true;
        for (std::size_t i = 3; i < n && ok; ++i) {
            const auto v = apply(ops[(i - 1) % 2], t[i - 1]);
            ok = v && *v == t[i];
        }
        if (!ok)
            continue;
        const auto v = apply(ops[(n - 1) % 2], t[n - 1]);
        if (v)
            Add(fits, "two alternating operations", *v);
    }
}

} // namespace

std::vector<TSeriesFit> FitNumberSeries(const std::vector<int64_t>& t) {
    std::vector<TSeriesFit> fits;
    const std::size_t n = t.size();
    if (n < 3)
        return fits;
    for (int64_t v : t)
        if (!InRange(v))
            return fits;
    Add(fits, "constant difference", ArithNext(t, 3));
    Add(fits, "constant ratio", GeomNext(t, 3));

    const Terms d = Diffs(t);
    // Differences growing by a constant reads naturally even with three terms
    // (1 2 4 -> 7), so it needs no confirming term.
    if (const auto nd = ArithNext(d, 2))
        Add(fits, "differences growing by a constant", Wide(t.back()) + *nd);
    if (n >= 5) {
        if (const auto ndd = ArithNext(Diffs(d), 3))
            Add(fits, "third differences constant", Wide(t.back()) + d.back() + *ndd);
    }
    if (n >= 4) {
        if (const auto nd = GeomNext(d, 3))
            Add(fits, "differences with a constant ratio", Wide(t.back()) + *nd);
    }

    bool fib = true;
    bool prod = true;
    for (std::size_t i = 2; i < n; ++i) {
        fib = fib && t[i] == t[i - 1] + t[i - 2];
        prod = prod && Wide(t[i]) == Wide(t[i - 1]) * t[i - 2];
    }
    if (fib)
        Add(fits, "sum of the previous two", Wide(t[n - 1]) + t[n - 2]);
    if (prod)
        Add(fits, "product of the previous two", Wide(t[n - 1]) * t[n - 2]);
    if (n >= 4) {
        const int64_t c = t[2] - t[1] - t[0];
        bool fibc = true;
        bool trib = true;
        for (std::size_t i = 2; i < n; ++i) {
            fibc = fibc && t[i] == t[i - 1] + t[i - 2] + c;
            if (i >= 3)
                trib = trib && t[i] == t[i - 1] + t[i - 2] + t[i - 3];
        }
        if (fibc)
            Add(fits, "sum of the previous two plus a constant", Wide(t[n - 1]) + t[n - 2] + c);
        if (trib)
            Add(fits, "sum of the previous three", Wide(t[n - 1]) + t[n - 2] + t[n - 3]);

        // x a + b with whole a and b.
        if (t[1] != t[0] && (t[2] - t[1]) % (t[1] - t[0]) == 0) {
            const Wide a = (t[2] - t[1]) / (t[1] - t[0]);
            const Wide b = t[1] - a * t[0];
            bool ok = a != 0;
            for (std::size_t i = 1; i < n && ok; ++i)
                ok = a * t[i - 1] + b == t[i];
            if (ok)
                Add(fits, "multiply then add", a * t[n - 1] + b);
        }

        // Whole ratios that grow by a constant: x2, x3, x4 ...
        Terms ratios;
        bool whole = true;
        for (std::size_t i = 1; i < n && whole; ++i) {
            whole = t[i - 1] != 0 && t[i] % t[i - 1] == 0;
            if (whole)
                ratios.push_back(t[i] / t[i - 1]);
        }
        if (whole)
            if (const auto r = ArithNext(ratios, 3))
                Add(fits, "ratios growing by a constant", Wide(t.back()) * *r);
    }
    FitPowers(t, fits);
    FitInterleaved(t, fits);
    FitAlternatingOps(t, fits);
    return fits;
}

std::vector<TSeriesFit> FitLetterSeries(const std::vector<int>& letters, bool wrap) {
    std::vector<TSeriesFit> fits;
    // Readers number the letters A = 1 ... Z = 26 and may use any number rule.
    Terms positions;
    for (int l : letters)
        positions.push_back(l + 1);
    for (const TSeriesFit& fit : FitNumberSeries(positions)) {
        if (wrap)
            fits.push_back({fit.Family, ((fit.Next - 1) % 26 + 26) % 26});
        else if (fit.Next >= 1 && fit.Next <= 26)
            fits.push_back({fit.Family, fit.Next - 1});
    }
    if (!wrap || letters.size() < 3)
        return fits;

    // With wrap, the additive rules hold modulo 26 as well (X Z B D).
    const auto mod = [](int64_t v) { return int((v % 26 + 26) % 26); };
    const std::size_t n = letters.size();
    std::vector<int> d;
    for (std::size_t i = 1; i < n; ++i)
        d.push_back(mod(letters[i] - letters[i - 1]));
    if (std::all_of(d.begin(), d.end(), [&](int x) { return x == d[0]; }))
        fits.push_back({"constant step modulo 26", mod(letters.back() + d[0])});
    bool grow = true;
    for (std::size_t i = 2; i < d.size(); ++i)
        grow = grow && mod(d[i] - d[i - 1]) == mod(d[1] - d[0]);
    if (grow)
        fits.push_back({"steps growing by a constant modulo 26",
                        mod(letters.back() + d.back() + d[1] - d[0])});
    if (n >= 5) {
        bool alternate = true;
        for (std::size_t i = 2; i < d.size(); ++i)
            alternate = alternate && d[i] == d[i - 2];
        if (alternate)
            fits.push_back({"alternating steps modulo 26", mod(letters.back() + d[d.size() - 2])});
        std::vector<int> sub[2];
        for (std::size_t i = 0; i < n; ++i)
            sub[i % 2].push_back(letters[i]);
        // As with numbers, both series need three letters to show their step.
        const auto constantStep = [&](const std::vector<int>& s) {
            for (std::size_t i = 2; i < s.size(); ++i)
                if (mod(s[i] - s[i - 1]) != mod(s[1] - s[0]))
                    return false;
            return true;
        };
        const std::vector<int>& next = sub[n % 2];
        if (n >= 6 && constantStep(sub[0]) && constantStep(sub[1]))
            fits.push_back({"two interleaved series modulo 26",
                            mod(next.back() + next.back() - next[next.size() - 2])});
    }
    return fits;
}

// ---------------------------------------------------------------------------
// The rules: "<kind> key=value ...", choices as a=<value> ... e=<value>.

namespace {

struct TRule {
    std::string Kind;
    std::map<std::string, std::string, std::less<>> Fields;
};

std::vector<std::string_view> Split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end == std::string_view::npos ? end : end - start));
        if (end == std::string_view::npos)
            return parts;
        start = end + 1;
    }
}

TRule ParseRule(std::string_view line, std::vector<std::string>& problems) {
    TRule rule;
    bool first = true;
    for (std::string_view token : Split(line, ' ')) {
        if (token.empty())
            continue;
        if (first) {
            rule.Kind = std::string(token);
            first = false;
            continue;
        }
        const std::size_t eq = token.find('=');
        if (eq == std::string_view::npos || eq == 0) {
            problems.push_back("malformed field '" + std::string(token) + "'");
            continue;
        }
        const std::string key(token.substr(0, eq));
        if (!rule.Fields.emplace(key, std::string(token.substr(eq + 1))).second)
            problems.push_back("field '" + key + "' given twice");
    }
    return rule;
}

// Reads the fields of one rule and collects what is missing or malformed.
class TFieldReader {
public:
    TFieldReader(const TRule& rule, std::vector<std::string>& problems)
        : rule_(rule), problems_(problems) {}

    const std::string* Text(const std::string& key) {
        const auto it = rule_.Fields.find(key);
        if (it == rule_.Fields.end()) {
            problems_.push_back("missing field '" + key + "'");
            return nullptr;
        }
        return &it->second;
    }

    std::optional<TFraction> Number(const std::string& key) {
        const std::string* text = Text(key);
        if (!text)
            return std::nullopt;
        const auto v = TFraction::Parse(*text);
        if (!v)
            problems_.push_back("field '" + key + "' is not a number: '" + *text + "'");
        return v;
    }

    std::optional<int64_t> Integer(const std::string& key) {
        const auto v = Number(key);
        if (v && !v->IsInteger()) {
            problems_.push_back("field '" + key + "' is not a whole number");
            return std::nullopt;
        }
        return v ? std::optional<int64_t>(v->Num) : std::nullopt;
    }

    std::optional<int> Letter(const std::string& key) {
        const std::string* text = Text(key);
        if (!text)
            return std::nullopt;
        return LetterOf(*text, key);
    }

    std::optional<int> LetterOf(std::string_view text, const std::string& what) {
        if (text.size() != 1 || text[0] < 'A' || text[0] > 'Z') {
            problems_.push_back(what + " is not a letter A-Z: '" + std::string(text) + "'");
            return std::nullopt;
        }
        return text[0] - 'A';
    }

    std::vector<std::string>& Problems() { return problems_; }

private:
    const TRule& rule_;
    std::vector<std::string>& problems_;
};

struct TChoice {
    char Letter = 'a';
    std::string Text;
    TFraction Value;
};

// The choices a=... up to e=..., without gaps.
std::vector<TChoice> ReadChoices(const TRule& rule, std::vector<std::string>& problems) {
    std::vector<TChoice> choices;
    bool gap = false;
    for (char letter = 'a'; letter <= 'e'; ++letter) {
        const auto it = rule.Fields.find(std::string(1, letter));
        if (it == rule.Fields.end()) {
            gap = true;
            continue;
        }
        if (gap)
            problems.push_back(std::string("choice ") + letter + " follows a missing choice");
        choices.push_back({letter, it->second, {}});
    }
    if (choices.size() < 2)
        problems.push_back("fewer than two choices");
    return choices;
}

// One operation of a series: "+3", "-3", "x2" or ":2".
struct TOp {
    char Kind = '+';
    int64_t Value = 0;
};

std::optional<TOp> ParseOp(std::string_view text) {
    if (text.size() < 2 || std::string_view("+-x:").find(text[0]) == std::string_view::npos)
        return std::nullopt;
    const auto v = TFraction::Parse(text.substr(1));
    if (!v || !v->IsInteger() || v->Num < 0 || (text[0] == ':' && v->Num == 0))
        return std::nullopt;
    return TOp{text[0], v->Num};
}

std::optional<int64_t> ApplyOp(const TOp& op, int64_t v) {
    Wide r = v;
    switch (op.Kind) {
    case '+':
        r += op.Value;
        break;
    case '-':
        r -= op.Value;
        break;
    case 'x':
        r *= op.Value;
        break;
    default:
        if (v % op.Value != 0)
            return std::nullopt;
        r /= op.Value;
    }
    if (!InRange(r))
        return std::nullopt;
    return int64_t(r);
}

std::vector<TOp> ReadOps(TFieldReader& fields, const std::string& key) {
    std::vector<TOp> ops;
    const std::string* text = fields.Text(key);
    if (!text)
        return ops;
    for (std::string_view part : Split(*text, ',')) {
        const auto op = ParseOp(part);
        if (!op) {
            fields.Problems().push_back("field '" + key + "' has a bad operation '" +
                                        std::string(part) + "'");
            return {};
        }
        ops.push_back(*op);
    }
    return ops;
}

// The series the stated rule makes, `count` terms long; empty on an error
// (reported).
Terms StatedNumberSeries(TFieldReader& f, const std::string& family, std::size_t count) {
    Terms t;
    std::vector<std::string>& problems = f.Problems();
    const std::size_t before = problems.size();
    const auto fail = [&](const std::string& why) {
        problems.push_back(why);
        return Terms();
    };
    const auto step = [&](Wide v) {
        if (!InRange(v))
            return false;
        t.push_back(int64_t(v));
        return true;
    };
    if (family == "arith") {
        const auto start = f.Integer("start");
        const auto d = f.Integer("step");
        if (problems.size() != before)
            return {};
        for (std::size_t i = 0; i < count; ++i)
            if (!step(Wide(*start) + Wide(i) * *d))
                return fail("the rule overflows");
    } else if (family == "geom") {
        const auto start = f.Integer("start");
        const auto ratio = f.Number("ratio");
        if (problems.size() != before)
            return {};
        TFraction v(*start);
        for (std::size_t i = 0; i < count; ++i, v = v * *ratio) {
            if (!v.Valid() || !v.IsInteger())
                return fail("the rule gives a fraction at term " + std::to_string(i + 1));
            t.push_back(v.Num);
        }
    } else if (family == "diff2") {
        const auto start = f.Integer("start");
        const auto d = f.Integer("step");
        const auto grow = f.Integer("grow");
        if (problems.size() != before)
            return {};
        Wide v = *start;
        for (std::size_t i = 0; i < count; ++i) {
            if (!step(v))
                return fail("the rule overflows");
            v += Wide(*d) + Wide(i) * *grow;
        }
    } else if (family == "fib") {
        const auto a = f.Integer("first");
        const auto b = f.Integer("second");
        if (problems.size() != before)
            return {};
        t = {*a, *b};
        while (t.size() < count)
            if (!step(Wide(t[t.size() - 1]) + t[t.size() - 2]))
                return fail("the rule overflows");
        t.resize(count);
    } else if (family == "muladd") {
        const auto start = f.Integer("start");
        const auto mul = f.Integer("mul");
        const auto add = f.Integer("add");
        if (problems.size() != before)
            return {};
        Wide v = *start;
        for (std::size_t i = 0; i < count; ++i, v = v * *mul + *add)
            if (!step(v))
                return fail("the rule overflows");
    } else if (family == "power") {
        const auto base = f.Integer("base");
        const auto exponent = f.Integer("exp");
        const auto add = f.Integer("add");
        if (problems.size() != before)
            return {};
        if (*exponent != 2 && *exponent != 3)
            return fail("exp must be 2 or 3");
        for (std::size_t i = 0; i < count; ++i)
            if (!step(Power(Wide(*base) + Wide(i), int(*exponent)) + *add))
                return fail("the rule overflows");
    } else if (family == "inter") {
        const auto s1 = f.Integer("s1");
        const auto s2 = f.Integer("s2");
        const std::vector<TOp> op1 = ReadOps(f, "op1");
        const std::vector<TOp> op2 = ReadOps(f, "op2");
        if (problems.size() != before)
            return {};
        if (op1.size() != 1 || op2.size() != 1)
            return fail("op1 and op2 take one operation each");
        int64_t v[2] = {*s1, *s2};
        for (std::size_t i = 0; i < count; ++i) {
            t.push_back(v[i % 2]);
            const auto n = ApplyOp(i % 2 ? op2[0] : op1[0], v[i % 2]);
            if (!n && i + 2 < count)
                return fail("the rule gives a fraction or overflows");
            v[i % 2] = n.value_or(0);
        }
    } else if (family == "altops") {
        const auto start = f.Integer("start");
        const std::vector<TOp> ops = ReadOps(f, "ops");
        if (problems.size() != before)
            return {};
        if (ops.size() < 2)
            return fail("altops needs at least two operations");
        t.push_back(*start);
        while (t.size() < count) {
            const auto n = ApplyOp(ops[(t.size() - 1) % ops.size()], t.back());
            if (!n)
                return fail("the rule gives a fraction or overflows");
            t.push_back(*n);
        }
    } else {
        return fail("unknown series family '" + family + "'");
    }
    return t;
}

std::vector<int> StatedLetterSeries(TFieldReader& f, const std::string& family, std::size_t count,
                                    bool wrap) {
    std::vector<std::string>& problems = f.Problems();
    const std::size_t before = problems.size();
    std::vector<int64_t> raw;
    if (family == "step" || family == "grow") {
        const auto start = f.Letter("start");
        const auto d = f.Integer("step");
        const auto grow = family == "grow" ? f.Integer("grow") : std::optional<int64_t>(0);
        if (problems.size() != before)
            return {};
        int64_t v = *start;
        for (std::size_t i = 0; i < count; ++i) {
            raw.push_back(v);
            v += *d + int64_t(i) * *grow;
        }
    } else if (family == "inter") {
        const auto s1 = f.Letter("s1");
        const auto s2 = f.Letter("s2");
        const auto d1 = f.Integer("step1");
        const auto d2 = f.Integer("step2");
        if (problems.size() != before)
            return {};
        for (std::size_t i = 0; i < count; ++i)
            raw.push_back(i % 2 ? *s2 + int64_t(i / 2) * *d2 : *s1 + int64_t(i / 2) * *d1);
    } else if (family == "altstep") {
        const auto start = f.Letter("start");
        const auto steps = f.Text("steps");
        if (problems.size() != before)
            return {};
        std::vector<int64_t> d;
        for (std::string_view part : Split(*steps, ',')) {
            const auto v = TFraction::Parse(part);
            if (!v || !v->IsInteger()) {
                problems.push_back("bad step '" + std::string(part) + "'");
                return {};
            }
            d.push_back(v->Num);
        }
        if (d.size() < 2) {
            problems.push_back("altstep needs at least two steps");
            return {};
        }
        raw.push_back(*start);
        while (raw.size() < count)
            raw.push_back(raw.back() + d[(raw.size() - 1) % d.size()]);
    } else {
        problems.push_back("unknown letter family '" + family + "'");
        return {};
    }
    std::vector<int> letters;
    for (std::size_t i = 0; i < raw.size(); ++i) {
        if (!wrap && (raw[i] < 0 || raw[i] > 25)) {
            problems.push_back("the rule runs past the alphabet at term " + std::to_string(i + 1));
            return {};
        }
        letters.push_back(int((raw[i] % 26 + 26) % 26));
    }
    return letters;
}

// What the word problem's numbers give; invalid when a field is missing.
TFraction SolveWord(TFieldReader& f, const std::string& tpl) {
    std::vector<std::string>& problems = f.Problems();
    const std::size_t before = problems.size();
    std::map<std::string, TFraction> v;
    const auto need = [&](std::initializer_list<const char*> keys) {
        for (const char* key : keys)
            if (const auto x = f.Number(key))
                v[key] = *x;
        return problems.size() == before;
    };
    const TFraction hundred(100);
    const TFraction invalid(0, 0);
    if (tpl == "prijs")
        return need({"count", "total", "want"}) ? v["total"] * v["want"] / v["count"] : invalid;
    if (tpl == "korting")
        return need({"price", "pct"}) ? v["price"] * (hundred - v["pct"]) / hundred : invalid;
    if (tpl == "korting2")
        return need({"price", "pct1", "pct2"})
                   ? v["price"] * (hundred - v["pct1"]) / hundred * (hundred - v["pct2"]) / hundred
                   : invalid;
    if (tpl == "terug")
        return need({"price", "pct"}) ? v["price"] * hundred / (hundred + v["pct"]) : invalid;
    if (tpl == "procent")
        return need({"total", "pct"}) ? v["total"] * v["pct"] / hundred : invalid;
    if (tpl == "procentrest")
        return need({"total", "pct"}) ? v["total"] * (hundred - v["pct"]) / hundred : invalid;
    if (tpl == "procent2")
        return need({"price", "pct"})
                   ? v["price"] * (hundred + v["pct"]) / hundred * (hundred - v["pct"]) / hundred
                   : invalid;
    if (tpl == "werk")
        return need({"workers", "days", "workers2"}) ? v["workers"] * v["days"] / v["workers2"]
                                                     : invalid;
    if (tpl == "samen")
        return need({"time1", "time2"}) ? v["time1"] * v["time2"] / (v["time1"] + v["time2"])
                                        : invalid;
    if (tpl == "snelheid")
        return need({"km", "minutes"}) ? v["km"] * TFraction(60) / v["minutes"] : invalid;
    if (tpl == "tijd")
        return need({"km", "speed"}) ? v["km"] * TFraction(60) / v["speed"] : invalid;
    if (tpl == "gemsnelheid")
        return need({"speed1", "speed2"})
                   ? TFraction(2) * v["speed1"] * v["speed2"] / (v["speed1"] + v["speed2"])
                   : invalid;
    if (tpl == "leeftijd")
        return need({"sum", "diff"}) ? (v["sum"] - v["diff"]) / TFraction(2) : invalid;
    if (tpl == "leeftijd2")
        return need({"times", "years", "times2"})
                   ? v["years"] * (v["times2"] - TFraction(1)) / (v["times"] - v["times2"])
                   : invalid;
    if (tpl == "mengen")
        return need({"part1", "part2", "total"})
                   ? v["total"] * v["part1"] / (v["part1"] + v["part2"])
                   : invalid;
    if (tpl == "mengen2")
        return need({"vol1", "pct1", "vol2", "pct2"})
                   ? (v["vol1"] * v["pct1"] + v["vol2"] * v["pct2"]) / (v["vol1"] + v["vol2"])
                   : invalid;
    if (tpl == "gemiddelde2")
        return need({"count", "mean", "target"})
                   ? (v["count"] + TFraction(1)) * v["target"] - v["count"] * v["mean"]
                   : invalid;
    if (tpl == "gemiddelde" || tpl == "gemontbreekt") {
        const std::string* list = f.Text("values");
        if (!list || (tpl == "gemontbreekt" && !need({"mean"})))
            return invalid;
        TFraction sum(0);
        int64_t count = 0;
        for (std::string_view part : Split(*list, ',')) {
            const auto x = TFraction::Parse(part);
            if (!x) {
                problems.push_back("bad value '" + std::string(part) + "'");
                return invalid;
            }
            sum = sum + *x;
            ++count;
        }
        return tpl == "gemiddelde" ? sum / TFraction(count)
                                   : TFraction(count + 1) * v["mean"] - sum;
    }
    problems.push_back("unknown word problem template '" + tpl + "'");
    return invalid;
}

// Exactly one choice holds the correct value, it is the keyed one, and no two
// choices are the same.
void CheckKey(const std::vector<TChoice>& choices, TFraction correct,
              const std::string& correctText, std::string_view answer,
              std::vector<std::string>& problems) {
    for (std::size_t i = 0; i < choices.size(); ++i)
        for (std::size_t j = i + 1; j < choices.size(); ++j)
            if (choices[i].Value == choices[j].Value)
                problems.push_back(std::string("choices ") + choices[i].Letter + " and " +
                                   choices[j].Letter + " are both " + choices[i].Text);
    std::string fitting;
    for (const TChoice& c : choices)
        if (c.Value == correct)
            fitting += c.Letter;
    if (fitting.empty()) {
        problems.push_back("no choice is the correct answer " + correctText);
        return;
    }
    if (answer.size() != 1 || answer != std::string_view(fitting).substr(0, 1))
        problems.push_back("keyed answer '" + std::string(answer) + "' but the correct answer " +
                           correctText + " is choice " + fitting.substr(0, 1));
}

// Any other reading of the shown terms that lands on a distractor.
void CheckAmbiguity(const std::vector<TSeriesFit>& fits, const std::vector<TChoice>& choices,
                    TFraction correct, const std::string& correctText,
                    std::vector<std::string>& problems) {
    bool recognised = false;
    std::set<std::string> reported;
    for (const TSeriesFit& fit : fits) {
        if (TFraction(fit.Next) == correct) {
            recognised = true;
            continue;
        }
        for (const TChoice& c : choices)
            if (c.Value == TFraction(fit.Next))
                reported.insert("ambiguous: the terms also fit '" + fit.Family + "', which gives " +
                                c.Text + " (choice " + c.Letter + ")");
    }
    problems.insert(problems.end(), reported.begin(), reported.end());
    if (!recognised)
        problems.push_back("no known reading of the shown terms gives the answer " + correctText);
}

void CheckLevel(const TRule& rule, std::vector<std::string>& problems) {
    const auto it = rule.Fields.find("level");
    if (it != rule.Fields.end() && it->second != "easy" && it->second != "middle" &&
        it->second != "hard")
        problems.push_back("unknown level '" + it->second + "'");
}

void CheckSeries(const TRule& rule, std::string_view answer, std::vector<std::string>& problems) {
    TFieldReader f(rule, problems);
    const std::string* family = f.Text("fam");
    const std::string* termText = f.Text("terms");
    std::vector<TChoice> choices = ReadChoices(rule, problems);
    if (!family || !termText)
        return;
    Terms shown;
    for (std::string_view part : Split(*termText, ',')) {
        const auto v = TFraction::Parse(part);
        if (!v || !v->IsInteger()) {
            problems.push_back("term '" + std::string(part) + "' is not a whole number");
            return;
        }
        shown.push_back(v->Num);
    }
    if (shown.size() < 3) {
        problems.push_back("fewer than three shown terms");
        return;
    }
    for (TChoice& c : choices) {
        const auto v = TFraction::Parse(c.Text);
        if (!v || !v->IsInteger()) {
            problems.push_back(std::string("choice ") + c.Letter + " is not a whole number");
            return;
        }
        c.Value = *v;
    }
    const Terms stated = StatedNumberSeries(f, *family, shown.size() + 1);
    if (stated.empty())
        return;
    for (std::size_t i = 0; i < shown.size(); ++i)
        if (shown[i] != stated[i]) {
            problems.push_back("term " + std::to_string(i + 1) + " is " + std::to_string(shown[i]) +
                               " but the stated rule gives " + std::to_string(stated[i]));
            return;
        }
    const TFraction correct(stated.back());
    const std::string correctText = std::to_string(stated.back());
    CheckKey(choices, correct, correctText, answer, problems);
    CheckAmbiguity(FitNumberSeries(shown), choices, correct, correctText, problems);
}

void CheckLetters(const TRule& rule, std::string_view answer, std::vector<std::string>& problems) {
    TFieldReader f(rule, problems);
    const std::string* family = f.Text("fam");
    const std::string* termText = f.Text("terms");
    const std::string* wrapText = f.Text("wrap");
    std::vector<TChoice> choices = ReadChoices(rule, problems);
    if (!family || !termText || !wrapText)
        return;
    if (*wrapText != "0" && *wrapText != "1") {
        problems.push_back("wrap must be 0 or 1");
        return;
    }
    const bool wrap = *wrapText == "1";
    std::vector<int> shown;
    for (std::string_view part : Split(*termText, ',')) {
        const auto l = f.LetterOf(part, "term");
        if (!l)
            return;
        shown.push_back(*l);
    }
    if (shown.size() < 3) {
        problems.push_back("fewer than three shown terms");
        return;
    }
    for (TChoice& c : choices) {
        const auto l = f.LetterOf(c.Text, std::string("choice ") + c.Letter);
        if (!l)
            return;
        c.Value = TFraction(*l);
    }
    const std::vector<int> stated = StatedLetterSeries(f, *family, shown.size() + 1, wrap);
    if (stated.empty())
        return;
    for (std::size_t i = 0; i < shown.size(); ++i)
        if (shown[i] != stated[i]) {
            problems.push_back(
                "term " + std::to_string(i + 1) + " is " + std::string(1, char('A' + shown[i])) +
                " but the stated rule gives " + std::string(1, char('A' + stated[i])));
            return;
        }
    const TFraction correct(stated.back());
    const std::string correctText(1, char('A' + stated.back()));
    CheckKey(choices, correct, correctText, answer, problems);
    CheckAmbiguity(FitLetterSeries(shown, wrap), choices, correct, correctText, problems);
}

void CheckWord(const TRule& rule, std::string_view answer, std::vector<std::string>& problems) {
    TFieldReader f(rule, problems);
    const std::string* tpl = f.Text("tpl");
    std::vector<TChoice> choices = ReadChoices(rule, problems);
    if (!tpl)
        return;
    for (TChoice& c : choices) {
        const auto v = TFraction::Parse(c.Text);
        if (!v) {
            problems.push_back(std::string("choice ") + c.Letter + " is not a number");
            return;
        }
        c.Value = *v;
    }
    const std::size_t before = problems.size();
    const TFraction correct = SolveWord(f, *tpl);
    if (!correct.Valid()) {
        if (problems.size() == before)
            problems.push_back("the numbers of the problem give no answer");
        return;
    }
    std::string correctText = correct.ToDecimal();
    if (correctText.empty())
        correctText = std::to_string(correct.Num) + "/" + std::to_string(correct.Den);
    if (!(TFraction(0) < correct))
        problems.push_back("the answer " + correctText + " is not positive");
    CheckKey(choices, correct, correctText, answer, problems);
}

} // namespace

std::vector<std::string> CheckNumericRule(std::string_view line, std::string_view answer,
                                          bool& handled) {
    std::vector<std::string> problems;
    const std::size_t space = line.find(' ');
    const std::string_view kind = line.substr(0, space);
    handled = kind == "series" || kind == "letters" || kind == "word";
    if (!handled)
        return problems;
    const TRule rule = ParseRule(line, problems);
    CheckLevel(rule, problems);
    if (kind == "series")
        CheckSeries(rule, answer, problems);
    else if (kind == "letters")
        CheckLetters(rule, answer, problems);
    else
        CheckWord(rule, answer, problems);
    return problems;
}
