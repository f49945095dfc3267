#include "tools/bank/figure_rules.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <map>
#include <numeric>
#include <set>

namespace figure {

namespace {

constexpr const char* kShapeNames[kShapeCount] = {"circle",  "triangle", "square",  "pentagon",
                                                  "hexagon", "heptagon", "octagon", "arrow",
                                                  "flag",    "hook"};
constexpr const char* kFillNames[kFillCount] = {"white", "grey", "black"};
constexpr const char* kSymbolNames[kSymbolCount] = {"dot",  "ring",  "plus", "cross",    "diamond",
                                                    "bars", "arrow", "half", "triangle", "corner"};

int Mod(int v, int m) {
    return ((v % m) + m) % m;
}

std::optional<int> ParseInt(std::string_view text) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end || text.empty())
        return std::nullopt;
    return value;
}

template <std::size_t N>
std::optional<int> IndexOf(const char* const (&names)[N], std::string_view name) {
    for (std::size_t i = 0; i < N; ++i)
        if (name == names[i])
            return int(i);
    return std::nullopt;
}

void AddUnique(std::vector<int>& values, int v) {
    if (std::find(values.begin(), values.end(), v) == values.end())
        values.push_back(v);
}

// ------------------------------------------------------------ series rules

// The rules every attribute may follow, on the values of the shown figures.
void PeriodicNext(const std::vector<int>& v, std::vector<int>& out) {
    const int n = int(v.size());
    for (int p = 1; p <= 3 && p < n; ++p) {
        bool fits = true;
        for (int i = p; i < n && fits; ++i)
            fits = v[size_t(i)] == v[size_t(i - p)];
        if (fits)
            AddUnique(out, v[size_t(n - p)]);
    }
}

// Constant step, nonzero; mod 0 means plain numbers.
void ArithmeticNext(const std::vector<int>& v, int mod, int lo, int hi, std::vector<int>& out) {
    const int n = int(v.size());
    const auto diff = [&](int i) {
        const int d = v[size_t(i + 1)] - v[size_t(i)];
        return mod ? Mod(d, mod) : d;
    };
    const int d = diff(0);
    if (d == 0)
        return;
    for (int i = 1; i + 1 < n; ++i)
        if (diff(i) != d)
            return;
    int next = v[size_t(n - 1)] + d;
    if (mod)
        next = Mod(next, mod);
    if (next >= lo && next <= hi)
        AddUnique(out, next);
}

// Turns that grow by a constant. Each step is read as the shorter way round
// (-3 .. +4 eighths); taken modulo 8 throughout, almost any four turns would
// "grow" by something.
void SecondOrderNext(const std::vector<int>& v, int mod, std::vector<int>& out) {
    const int n = int(v.size());
    if (n < 4)
        return;
    std::vector<int> d;
    for (int i = 0; i + 1 < n; ++i) {
        const int step = Mod(v[size_t(i + 1)] - v[size_t(i)], mod);
        d.push_back(step > mod / 2 ? step - mod : step);
    }
    const int e = d[1] - d[0];
    if (e == 0)
        return;
    for (size_t i = 1; i + 1 < d.size(); ++i)
        if (d[i + 1] - d[i] != e)
            return;
    AddUnique(out, Mod(v[size_t(n - 1)] + d.back() + e, mod));
}

// ------------------------------------------------------------ matrix rules

using TGrid = std::array<std::array<int, 3>, 3>; // [row][col]; [2][2] unknown

TGrid Transposed(const TGrid& g) {
    TGrid t{};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            t[size_t(c)][size_t(r)] = g[size_t(r)][size_t(c)];
    return t;
}

// Rules read along the rows; the columns are the rows of the transposed grid.
void RowRules(const TGrid& g, bool numeric, int mod, int lo, int hi, std::vector<int>& out) {
    const auto inRange = [&](int v) { return mod ? true : (v >= lo && v <= hi); };
    const auto norm = [&](int v) { return mod ? Mod(v, mod) : v; };
    // Every row the same value.
    if (g[0][0] == g[0][1] && g[0][1] == g[0][2] && g[1][0] == g[1][1] && g[1][1] == g[1][2] &&
        g[2][0] == g[2][1])
        AddUnique(out, g[2][0]);
    // Every row three different values from one set.
    {
        std::set<int> s0(g[0].begin(), g[0].end()), s1(g[1].begin(), g[1].end());
        if (s0.size() == 3 && s0 == s1 && g[2][0] != g[2][1] && s0.count(g[2][0]) &&
            s0.count(g[2][1])) {
            s0.erase(g[2][0]);
            s0.erase(g[2][1]);
            AddUnique(out, *s0.begin());
        }
    }
    if (!numeric)
        return;
    // Every row a constant step (each row its own step).
    {
        bool fits = true;
        for (int r = 0; r < 2 && fits; ++r)
            fits =
                norm(g[size_t(r)][1] - g[size_t(r)][0]) == norm(g[size_t(r)][2] - g[size_t(r)][1]);
        const int next = norm(2 * g[2][1] - g[2][0]);
        if (fits && inRange(next))
            AddUnique(out, next);
    }
    // Third = first + second, or first - second.
    for (int sign : {1, -1}) {
        bool fits = true;
        for (int r = 0; r < 2 && fits; ++r)
            fits = norm(g[size_t(r)][0] + sign * g[size_t(r)][1]) == g[size_t(r)][2];
        const int next = norm(g[2][0] + sign * g[2][1]);
        if (fits && inRange(next))
            AddUnique(out, next);
    }
}

void MatrixRules(const TGrid& g, bool numeric, int mod, int lo, int hi, std::vector<int>& out) {
    RowRules(g, numeric, mod, lo, hi, out);
    RowRules(Transposed(g), numeric, mod, lo, hi, out);
}

// ------------------------------------------------------------ tokens

std::string Join(const std::vector<std::string>& parts, char sep) {
    std::string out;
    for (size_t i = 0; i < parts.size(); ++i) {
        if (i)
            out += sep;
        out += parts[i];
    }
    return out;
}

// ------------------------------------------------------------ solids

TVec3 Mul(const TMat3& m, const TVec3& v) {
    return {m[0] * v[0] + m[1] * v[1] + m[2] * v[2], m[3] * v[0] + m[4] * v[1] + m[5] * v[2],
            m[6] * v[0] + m[7] * v[1] + m[8] * v[2]};
}

TVec3 Neg(const TVec3& v) {
    return {-v[0], -v[1], -v[2]};
}

} // namespace

// =================================================================== figures

int Sides(EShape shape) {
    switch (shape) {
    case EShape::Circle:
        return 0;
    case EShape::Triangle:
        return 3;
    case EShape::Square:
        return 4;
    case EShape::Pentagon:
        return 5;
    case EShape::Hexagon:
        return 6;
    case EShape::Heptagon:
        return 7;
    case EShape::Octagon:
        return 8;
    default:
        return -1;
    }
}

int RotPeriod(EShape shape) {
    const int sides = Sides(shape);
    if (sides == 0)
        return 1;
    if (sides > 0) // a regular polygon repeats every 360 / sides degrees
        return 8 / std::gcd(8, sides);
    return 8;
}

bool Chiral(EShape shape) {
    return shape == EShape::Flag || shape == EShape::Hook;
}

std::optional<EShape> PolygonWithSides(int sides) {
    for (int s = 0; s < kShapeCount; ++s)
        if (Sides(EShape(s)) == sides && sides >= 3)
            return EShape(s);
    return std::nullopt;
}

TFig Canonical(TFig fig) {
    // All other shapes are symmetric about their upright axis, so a
    // reflection before the turn changes nothing.
    if (!Chiral(fig.Shape))
        fig.Mirrored = false;
    fig.Rot = Mod(fig.Rot, RotPeriod(fig.Shape));
    return fig;
}

bool SamePicture(const TFig& a, const TFig& b) {
    return Canonical(a) == Canonical(b);
}

const char* ShapeName(EShape shape) {
    return kShapeNames[int(shape)];
}

const char* FillName(EFill fill) {
    return kFillNames[int(fill)];
}

std::string FigToken(const TFig& fig) {
    std::string token = std::string(ShapeName(fig.Shape)) + "/" + FillName(fig.Fill) + "/" +
                        std::to_string(fig.Count) + "/" + std::to_string(fig.Rot);
    if (fig.Mirrored)
        token += "/m";
    return token;
}

std::optional<TFig> ParseFig(std::string_view token) {
    const std::vector<std::string> parts = SplitList(token, '/');
    if (parts.size() != 4 && !(parts.size() == 5 && parts[4] == "m"))
        return std::nullopt;
    const auto shape = IndexOf(kShapeNames, parts[0]);
    const auto fill = IndexOf(kFillNames, parts[1]);
    const auto count = ParseInt(parts[2]);
    const auto rot = ParseInt(parts[3]);
    if (!shape || !fill || !count || !rot || *count < 1 || *count > kMaxCount || *rot < 0 ||
        *rot > 7)
        return std::nullopt;
    return TFig{EShape(*shape), EFill(*fill), *count, *rot, parts.size() == 5};
}

int AttrValue(const TFig& fig, int attr) {
    switch (attr) {
    case aShape:
        return int(fig.Shape);
    case aFill:
        return int(fig.Fill);
    case aCount:
        return fig.Count;
    case aRot:
        return fig.Rot;
    default:
        return fig.Mirrored ? 1 : 0;
    }
}

void SetAttr(TFig& fig, int attr, int value) {
    switch (attr) {
    case aShape:
        fig.Shape = EShape(value);
        break;
    case aFill:
        fig.Fill = EFill(value);
        break;
    case aCount:
        fig.Count = value;
        break;
    case aRot:
        fig.Rot = value;
        break;
    default:
        fig.Mirrored = value != 0;
        break;
    }
}

TPredictions SeriesNext(const std::vector<TFig>& shown) {
    TPredictions out;
    if (shown.size() < 3)
        return out;
    std::vector<TFig> canon;
    for (const TFig& f : shown)
        canon.push_back(Canonical(f));
    for (int attr = 0; attr < kAttrCount; ++attr) {
        std::vector<int> v;
        for (const TFig& f : canon)
            v.push_back(AttrValue(f, attr));
        std::vector<int>& next = out[size_t(attr)];
        PeriodicNext(v, next);
        if (attr == aCount)
            ArithmeticNext(v, 0, 1, kMaxCount, next);
        if (attr == aRot) {
            ArithmeticNext(v, 8, 0, 7, next);
            SecondOrderNext(v, 8, next);
        }
        if (attr == aShape) {
            // One corner more (or fewer) each step.
            std::vector<int> sides;
            for (const TFig& f : canon)
                sides.push_back(Sides(f.Shape));
            if (std::all_of(sides.begin(), sides.end(), [](int s) { return s >= 3; })) {
                std::vector<int> nextSides;
                ArithmeticNext(sides, 0, 3, 8, nextSides);
                for (int s : nextSides)
                    AddUnique(next, int(*PolygonWithSides(s)));
            }
        }
    }
    return out;
}

TPredictions MatrixMissing(const std::vector<TFig>& cells) {
    TPredictions out;
    if (cells.size() != 8)
        return out;
    for (int attr = 0; attr < kAttrCount; ++attr) {
        TGrid g{};
        for (int i = 0; i < 8; ++i)
            g[size_t(i / 3)][size_t(i % 3)] = AttrValue(Canonical(cells[size_t(i)]), attr);
        const bool numeric = attr == aCount || attr == aRot;
        MatrixRules(g, numeric, attr == aRot ? 8 : 0, 1, kMaxCount, out[size_t(attr)]);
    }
    return out;
}

std::optional<TFig> Resolve(const TPredictions& predictions, std::string* problem) {
    static const char* const names[kAttrCount] = {"shape", "fill", "count", "turn", "reflection"};
    TFig fig;
    for (int attr = 0; attr < kAttrCount; ++attr) {
        const std::vector<int>& values = predictions[size_t(attr)];
        if (values.size() != 1) {
            if (problem)
                *problem = std::string(values.empty() ? "no rule fits the "
                                                      : "several rules fit "
                                                        "the ") +
                           names[attr];
            return std::nullopt;
        }
        SetAttr(fig, attr, values[0]);
    }
    return Canonical(fig);
}

std::vector<int> OddOnes(const std::vector<TFig>& figs) {
    const int n = int(figs.size());
    std::set<int> odd;
    std::vector<TFig> canon;
    for (const TFig& f : figs)
        canon.push_back(Canonical(f));
    // A property all but one share singles that one out.
    const auto binary = [&](auto holds) {
        int count = 0;
        for (const TFig& f : canon)
            count += holds(f) ? 1 : 0;
        if (count == n - 1 || count == 1)
            for (int i = 0; i < n; ++i)
                if (holds(canon[size_t(i)]) == (count == 1))
                    odd.insert(i);
    };
    for (int attr = 0; attr < kAttrCount; ++attr) {
        std::map<int, int> tally;
        for (const TFig& f : canon)
            ++tally[AttrValue(f, attr)];
        for (const auto& [value, count] : tally)
            if (count == n - 1)
                for (int i = 0; i < n; ++i)
                    if (AttrValue(canon[size_t(i)], attr) != value)
                        odd.insert(i);
    }
    binary([](const TFig& f) { return f.Count % 2 == 0; });
    binary([](const TFig& f) { return f.Shape == EShape::Circle; });
    binary([](const TFig& f) { return f.Count == Sides(f.Shape); });
    return {odd.begin(), odd.end()};
}

// =================================================================== flat

TPoly Normalized(TPoly poly) {
    if (poly.empty())
        return poly;
    int minX = poly[0].X, minY = poly[0].Y;
    for (const TSquare& s : poly) {
        minX = std::min(minX, s.X);
        minY = std::min(minY, s.Y);
    }
    for (TSquare& s : poly) {
        s.X -= minX;
        s.Y -= minY;
    }
    std::sort(poly.begin(), poly.end());
    return poly;
}

std::pair<int, int> PolySize(const TPoly& norm) {
    int w = 0, h = 0;
    for (const TSquare& s : norm) {
        w = std::max(w, s.X + 1);
        h = std::max(h, s.Y + 1);
    }
    return {w, h};
}

TPoly Turned(const TPoly& poly, int quarters) {
    TPoly out = poly;
    for (int q = 0; q < Mod(quarters, 4); ++q)
        for (TSquare& s : out) // with y down, (1, 0) goes to (0, 1): clockwise
            s = {-s.Y, s.X, s.Black};
    return Normalized(out);
}

TPoly Mirrored(const TPoly& poly) {
    TPoly out = poly;
    for (TSquare& s : out)
        s.X = -s.X;
    return Normalized(out);
}

int TurnsBetween(const TPoly& from, const TPoly& to) {
    const TPoly target = Normalized(to);
    for (int q = 0; q < 4; ++q)
        if (Turned(from, q) == target)
            return q;
    return -1;
}

bool Connected(const TPoly& poly) {
    if (poly.empty())
        return false;
    std::set<std::pair<int, int>> all, seen;
    for (const TSquare& s : poly)
        all.insert({s.X, s.Y});
    if (all.size() != poly.size())
        return false; // two squares in one place
    std::vector<std::pair<int, int>> todo = {*all.begin()};
    seen.insert(todo[0]);
    while (!todo.empty()) {
        const auto [x, y] = todo.back();
        todo.pop_back();
        for (const auto& [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
            const std::pair<int, int> next{x + dx, y + dy};
            if (all.count(next) && seen.insert(next).second)
                todo.push_back(next);
        }
    }
    return seen.size() == all.size();
}

std::string PolyToken(const TPoly& poly) {
    std::vector<std::string> parts;
    for (const TSquare& s : poly)
        parts.push_back(std::to_string(s.X) + "." + std::to_string(s.Y) + (s.Black ? "b" : ""));
    return Join(parts, '+');
}

std::optional<TPoly> ParsePoly(std::string_view token) {
    TPoly poly;
    for (std::string part : SplitList(token, '+')) {
        bool black = false;
        if (!part.empty() && part.back() == 'b') {
            black = true;
            part.pop_back();
        }
        const std::vector<std::string> xy = SplitList(part, '.');
        if (xy.size() != 2)
            return std::nullopt;
        const auto x = ParseInt(xy[0]);
        const auto y = ParseInt(xy[1]);
        if (!x || !y)
            return std::nullopt;
        poly.push_back({*x, *y, black});
    }
    if (poly.empty())
        return std::nullopt;
    return poly;
}

// =================================================================== solids

const std::vector<TMat3>& SpaceTurns() {
    static const std::vector<TMat3> turns = [] {
        std::vector<TMat3> out;
        std::array<int, 3> perm = {0, 1, 2};
        do {
            for (int signs = 0; signs < 8; ++signs) {
                TMat3 m{};
                for (int r = 0; r < 3; ++r)
                    m[size_t(3 * r + perm[size_t(r)])] = (signs >> r) & 1 ? -1 : 1;
                const int det = m[0] * (m[4] * m[8] - m[5] * m[7]) -
                                m[1] * (m[3] * m[8] - m[5] * m[6]) +
                                m[2] * (m[3] * m[7] - m[4] * m[6]);
                if (det == 1)
                    out.push_back(m);
            }
        } while (std::next_permutation(perm.begin(), perm.end()));
        return out; // the identity comes first: perm 012, no signs
    }();
    return turns;
}

TSolid Apply(const TMat3& m, const TSolid& solid) {
    TSolid out;
    for (const TBlock& b : solid) {
        const TVec3 v = Mul(m, {b.X, b.Y, b.Z});
        out.push_back({v[0], v[1], v[2]});
    }
    return Normalized(out);
}

TSolid Normalized(TSolid solid) {
    if (solid.empty())
        return solid;
    TBlock lo = solid[0];
    for (const TBlock& b : solid)
        lo = {std::min(lo.X, b.X), std::min(lo.Y, b.Y), std::min(lo.Z, b.Z)};
    for (TBlock& b : solid)
        b = {b.X - lo.X, b.Y - lo.Y, b.Z - lo.Z};
    std::sort(solid.begin(), solid.end());
    return solid;
}

TSolid Mirrored(const TSolid& solid) {
    TSolid out = solid;
    for (TBlock& b : out)
        b.X = -b.X;
    return Normalized(out);
}

int TurnBetween(const TSolid& from, const TSolid& to) {
    const TSolid target = Normalized(to);
    const std::vector<TMat3>& turns = SpaceTurns();
    for (size_t i = 0; i < turns.size(); ++i)
        if (Apply(turns[i], from) == target)
            return int(i);
    return -1;
}

bool Connected(const TSolid& solid) {
    if (solid.empty())
        return false;
    std::set<TBlock> all(solid.begin(), solid.end()), seen;
    if (all.size() != solid.size())
        return false;
    std::vector<TBlock> todo = {*all.begin()};
    seen.insert(todo[0]);
    while (!todo.empty()) {
        const TBlock b = todo.back();
        todo.pop_back();
        for (const TBlock& d : {TBlock{1, 0, 0}, TBlock{-1, 0, 0}, TBlock{0, 1, 0},
                                TBlock{0, -1, 0}, TBlock{0, 0, 1}, TBlock{0, 0, -1}}) {
            const TBlock next{b.X + d.X, b.Y + d.Y, b.Z + d.Z};
            if (all.count(next) && seen.insert(next).second)
                todo.push_back(next);
        }
    }
    return seen.size() == all.size();
}

std::string SolidToken(const TSolid& solid) {
    std::vector<std::string> parts;
    for (const TBlock& b : solid)
        parts.push_back(std::to_string(b.X) + "." + std::to_string(b.Y) + "." +
                        std::to_string(b.Z));
    return Join(parts, '+');
}

std::optional<TSolid> ParseSolid(std::string_view token) {
    TSolid solid;
    for (const std::string& part : SplitList(token, '+')) {
        const std::vector<std::string> xyz = SplitList(part, '.');
        if (xyz.size() != 3)
            return std::nullopt;
        const auto x = ParseInt(xyz[0]);
        const auto y = ParseInt(xyz[1]);
        const auto z = ParseInt(xyz[2]);
        if (!x || !y || !z)
            return std::nullopt;
        solid.push_back({*x, *y, *z});
    }
    if (solid.empty())
        return std::nullopt;
    return solid;
}

namespace {

// The six triangles of the hexagon a block at lattice point (a, b) covers,
// with the face each belongs to.
struct TTri {
    int I, J, Upper, Face;
};
std::array<TTri, 6> HexagonTriangles(int a, int b) {
    return {{{a, b, 0, 0},
             {a, b - 1, 1, 0},
             {a, b, 1, 1},
             {a - 1, b, 0, 1},
             {a - 1, b - 1, 1, 2},
             {a - 1, b - 1, 0, 2}}};
}

// For every covered triangle, the block nearest the eye (largest x + y + z;
// blocks over one triangle never tie) and its face.
std::map<std::array<int, 3>, std::pair<int, TIsoPiece>> FrontPieces(const TSolid& solid,
                                                                    std::vector<int>* shownBy) {
    std::map<std::array<int, 3>, std::pair<int, TIsoPiece>> front; // -> (depth, piece)
    std::map<std::array<int, 3>, int> owner;
    for (size_t k = 0; k < solid.size(); ++k) {
        const TBlock& blk = solid[k];
        const int a = blk.X - blk.Z, b = blk.Y - blk.Z, depth = blk.X + blk.Y + blk.Z;
        for (const TTri& t : HexagonTriangles(a, b)) {
            const std::array<int, 3> key = {t.I, t.J, t.Upper};
            auto it = front.find(key);
            if (it == front.end() || it->second.first < depth) {
                front[key] = {depth, TIsoPiece{t.I, t.J, t.Upper, a, b, t.Face}};
                owner[key] = int(k);
            }
        }
    }
    if (shownBy) {
        shownBy->assign(solid.size(), 0);
        for (const auto& [key, k] : owner)
            ++(*shownBy)[size_t(k)];
    }
    return front;
}

} // namespace

std::vector<TIsoPiece> IsoView(const TSolid& solid) {
    std::vector<TIsoPiece> pieces;
    for (const auto& [key, entry] : FrontPieces(solid, nullptr))
        pieces.push_back(entry.second);
    // Where the picture lies does not matter, only what it shows.
    int minI = 0, minJ = 0;
    for (size_t k = 0; k < pieces.size(); ++k) {
        minI = k ? std::min(minI, pieces[k].I) : pieces[k].I;
        minJ = k ? std::min(minJ, pieces[k].J) : pieces[k].J;
    }
    for (TIsoPiece& p : pieces) {
        p.I -= minI;
        p.BlockA -= minI;
        p.J -= minJ;
        p.BlockB -= minJ;
    }
    std::sort(pieces.begin(), pieces.end());
    return pieces;
}

int LeastVisible(const TSolid& solid) {
    std::vector<int> shown;
    FrontPieces(solid, &shown);
    return shown.empty() ? 0 : *std::min_element(shown.begin(), shown.end());
}

// =================================================================== cubes

int SymbolPeriod(ESymbol symbol) {
    switch (symbol) {
    case ESymbol::Dot:
    case ESymbol::Ring:
    case ESymbol::Plus:
    case ESymbol::Cross:
    case ESymbol::Diamond:
        return 1;
    case ESymbol::Bars:
        return 2;
    default:
        return 4;
    }
}

const char* SymbolName(ESymbol symbol) {
    return kSymbolNames[int(symbol)];
}

std::optional<std::vector<TFoldedFace>> Fold(const TNet& net) {
    if (net.size() != 6)
        return std::nullopt;
    struct TFrame {
        TVec3 N, U, V; // outward normal; 3-D directions of the net's right and down
    };
    std::vector<std::optional<TFrame>> frames(net.size());
    frames[0] = TFrame{{0, 0, 1}, {1, 0, 0}, {0, -1, 0}};
    std::vector<size_t> todo = {0};
    while (!todo.empty()) {
        const size_t i = todo.back();
        todo.pop_back();
        const TFrame f = *frames[i];
        for (size_t j = 0; j < net.size(); ++j) {
            const int dc = net[j].Col - net[i].Col, dr = net[j].Row - net[i].Row;
            if (std::abs(dc) + std::abs(dr) != 1 || frames[j])
                continue;
            // Folding over the shared edge: the neighbour's normal is the
            // direction we went in, and going on leads round to the back.
            if (dc == 1)
                frames[j] = TFrame{f.U, Neg(f.N), f.V};
            else if (dc == -1)
                frames[j] = TFrame{Neg(f.U), f.N, f.V};
            else if (dr == 1)
                frames[j] = TFrame{f.V, f.U, Neg(f.N)};
            else
                frames[j] = TFrame{Neg(f.V), f.U, f.N};
            todo.push_back(j);
        }
    }
    std::vector<TFoldedFace> faces;
    std::set<TVec3> normals;
    for (size_t i = 0; i < net.size(); ++i) {
        if (!frames[i])
            return std::nullopt; // not connected
        const TFrame& f = *frames[i];
        for (size_t j = 0; j < i; ++j)
            if (net[j].Col == net[i].Col && net[j].Row == net[i].Row)
                return std::nullopt;
        if (!normals.insert(f.N).second)
            return std::nullopt; // two squares on one face
        const TVec3 ups[4] = {Neg(f.V), f.U, f.V, Neg(f.U)};
        faces.push_back({f.N, ups[Mod(net[i].Rot, 4)]});
    }
    return faces;
}

TCubeView Canonical(TCubeView view) {
    for (TFaceShown& face : view)
        face.Rot = Mod(face.Rot, SymbolPeriod(face.Symbol));
    return view;
}

std::vector<TCubeView> CubeViews(const TNet& net, std::vector<std::array<int, 3>>* seen) {
    std::vector<TCubeView> views;
    if (seen)
        seen->clear();
    const auto faces = Fold(net);
    if (!faces)
        return views;
    for (const TMat3& m : SpaceTurns()) {
        TCubeView view{};
        std::array<int, 3> which{};
        for (size_t slot = 0; slot < 3; ++slot)
            for (size_t i = 0; i < faces->size(); ++i) {
                if (Mul(m, (*faces)[i].Normal) != kViewNormals[slot])
                    continue;
                const TVec3 up = Mul(m, (*faces)[i].Up);
                const TVec3 dirs[4] = {kViewFrameUp[slot], kViewFrameRight[slot],
                                       Neg(kViewFrameUp[slot]), Neg(kViewFrameRight[slot])};
                int rot = 0;
                while (dirs[rot] != up)
                    ++rot;
                view[slot] = {net[i].Symbol, rot};
                which[slot] = int(i);
            }
        views.push_back(Canonical(view));
        if (seen)
            seen->push_back(which);
    }
    return views;
}

std::string NetToken(const TNet& net) {
    std::vector<std::string> parts;
    for (const TNetFace& f : net)
        parts.push_back(std::to_string(f.Col) + "." + std::to_string(f.Row) + "." +
                        SymbolName(f.Symbol) + "." + std::to_string(f.Rot));
    return Join(parts, '+');
}

std::string ViewToken(const TCubeView& view) {
    std::vector<std::string> parts;
    for (const TFaceShown& f : view)
        parts.push_back(std::string(SymbolName(f.Symbol)) + "." + std::to_string(f.Rot));
    return Join(parts, '+');
}

std::optional<TNet> ParseNet(std::string_view token) {
    TNet net;
    for (const std::string& part : SplitList(token, '+')) {
        const std::vector<std::string> f = SplitList(part, '.');
        if (f.size() != 4)
            return std::nullopt;
        const auto col = ParseInt(f[0]);
        const auto row = ParseInt(f[1]);
        const auto symbol = IndexOf(kSymbolNames, f[2]);
        const auto rot = ParseInt(f[3]);
        if (!col || !row || !symbol || !rot || *rot < 0 || *rot > 3)
            return std::nullopt;
        net.push_back({*col, *row, ESymbol(*symbol), *rot});
    }
    return net;
}

std::optional<TCubeView> ParseView(std::string_view token) {
    const std::vector<std::string> parts = SplitList(token, '+');
    if (parts.size() != 3)
        return std::nullopt;
    TCubeView view{};
    for (size_t i = 0; i < 3; ++i) {
        const std::vector<std::string> f = SplitList(parts[i], '.');
        if (f.size() != 2)
            return std::nullopt;
        const auto symbol = IndexOf(kSymbolNames, f[0]);
        const auto rot = ParseInt(f[1]);
        if (!symbol || !rot || *rot < 0 || *rot > 3)
            return std::nullopt;
        view[i] = {ESymbol(*symbol), *rot};
    }
    return view;
}

// =================================================================== lines

const std::string* TRuleLine::Field(std::string_view key) const {
    for (const auto& [k, v] : Fields)
        if (k == key)
            return &v;
    return nullptr;
}

std::optional<TRuleLine> ParseRuleLine(std::string_view line) {
    std::vector<std::string> words = SplitList(line, ' ');
    words.erase(std::remove(words.begin(), words.end(), std::string()), words.end());
    if (words.empty())
        return std::nullopt;
    TRuleLine rule;
    rule.Kind = words[0];
    for (size_t i = 1; i < words.size(); ++i) {
        const size_t eq = words[i].find('=');
        if (eq == std::string::npos || eq == 0)
            return std::nullopt;
        rule.Fields.push_back({words[i].substr(0, eq), words[i].substr(eq + 1)});
    }
    return rule;
}

std::vector<std::string> SplitList(std::string_view text, char separator) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (true) {
        const size_t end = text.find(separator, start);
        parts.emplace_back(
            text.substr(start, end == std::string_view::npos ? text.npos : end - start));
        if (end == std::string_view::npos)
            break;
        start = end + 1;
    }
    return parts;
}

} // namespace figure
