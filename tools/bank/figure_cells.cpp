// Figure series, 3 x 3 matrices and figure odd-one-out: cells of copies of
// one shape, varied in shape, fill, count and turn.
#include "tools/bank/figure_draw.h"
#include "tools/bank/figure_gen.h"

#include <algorithm>
#include <array>
#include <set>

namespace figure {

namespace {

// ------------------------------------------------------------ words

const char* const kNouns[kShapeCount][2] = {
    {"cirkel", "cirkels"},      {"driehoek", "driehoeken"}, {"vierkant", "vierkanten"},
    {"vijfhoek", "vijfhoeken"}, {"zeshoek", "zeshoeken"},   {"zevenhoek", "zevenhoeken"},
    {"achthoek", "achthoeken"}, {"pijl", "pijlen"},         {"vlag", "vlaggen"},
    {"L-vorm", "L-vormen"}};
const char* const kFillWords[kFillCount] = {"wit", "grijs", "zwart"};
const char* const kFillAdjectives[kFillCount] = {"witte", "grijze", "zwarte"};
const char* const kDirections[8] = {"boven",   "rechtsboven", "rechts", "rechtsonder",
                                    "beneden", "linksonder",  "links",  "linksboven"};
const char* const kAttrNouns[kAttrCount] = {"de vorm", "de kleur", "het aantal", "de draaiing",
                                            "de spiegeling"};
// "de enige met deze vorm", "... dit aantal".
const char* const kAttrThis[kAttrCount] = {"deze vorm", "deze kleur", "dit aantal", "deze draaiing",
                                           "deze spiegeling"};

std::string Noun(EShape shape, bool plural) {
    return kNouns[int(shape)][plural ? 1 : 0];
}

bool HasPoint(EShape shape) {
    return shape == EShape::Arrow || shape == EShape::Triangle;
}

std::string Describe(const TFig& fig) {
    const TFig f = Canonical(fig);
    std::string text = f.Count == 1 ? "een " : NumberWord(f.Count) + " ";
    text += std::string(kFillAdjectives[int(f.Fill)]) + " " + Noun(f.Shape, f.Count > 1);
    if (HasPoint(f.Shape))
        text += std::string(f.Count == 1 ? " met de punt" : " met de punten") + " naar " +
                kDirections[f.Rot];
    if (f.Mirrored)
        text += " (gespiegeld)";
    return text;
}

std::string JoinWords(const std::vector<std::string>& words) {
    std::string out;
    for (size_t i = 0; i < words.size(); ++i) {
        if (i)
            out += i + 1 == words.size() ? " en " : ", ";
        out += words[i];
    }
    return out;
}

std::string Capital(std::string text) {
    if (!text.empty() && text[0] >= 'a' && text[0] <= 'z')
        text[0] = char(text[0] - 'a' + 'A');
    return text;
}

// The value of one attribute in words, for lists like "wit, zwart, wit".
// Turns read as directions for shapes with a point, else as angles.
std::string ValueWord(int attr, int value, EShape shape = EShape::Arrow) {
    switch (attr) {
    case aShape:
        return Noun(EShape(value), false);
    case aFill:
        return kFillWords[value];
    case aCount:
        return std::to_string(value);
    case aRot:
        if (HasPoint(shape))
            return std::string("naar ") + kDirections[value];
        return value == 0 ? "rechtop" : std::to_string(45 * value) + " graden gedraaid";
    default:
        return value ? "gespiegeld" : "niet gespiegeld";
    }
}

// A sequence as shown: "2, 3, 4, 5".
std::string Sequence(const std::vector<std::string>& items) {
    std::string out;
    for (size_t i = 0; i < items.size(); ++i)
        out += (i ? ", " : "") + items[i];
    return out;
}

// "een vak met een zwarte pijl", "een vak met drie grijze cirkels".
std::string CellWith(const TFig& fig) {
    return "een vak met " + Describe(fig);
}

// What stays the same, as a sentence ("De kleur en het aantal blijven ...").
std::string SameSentence(const std::vector<std::string>& same, const char* one,
                         const char* several) {
    if (same.empty())
        return {};
    return Capital(JoinWords(same)) + " " + (same.size() > 1 ? several : one) + ". ";
}

// How the distractor differs from the right figure.
std::string Difference(const TFig& wrong, const TFig& right) {
    const TFig w = Canonical(wrong), r = Canonical(right);
    std::vector<std::string> parts;
    if (w.Shape != r.Shape)
        parts.push_back(
            w.Count == 1
                ? "is een " + Noun(w.Shape, false) + " in plaats van een " + Noun(r.Shape, false)
                : "heeft " + Noun(w.Shape, true) + " in plaats van " + Noun(r.Shape, true));
    if (w.Fill != r.Fill)
        parts.push_back(std::string("is ") + kFillWords[int(w.Fill)] + " in plaats van " +
                        kFillWords[int(r.Fill)]);
    if (w.Count != r.Count)
        parts.push_back("heeft " + std::to_string(w.Count) + " in plaats van " +
                        std::to_string(r.Count) + " figuurtjes");
    if (w.Mirrored != r.Mirrored)
        parts.push_back("is gespiegeld");
    else if (w.Rot != r.Rot && w.Shape == r.Shape)
        parts.push_back("staat " + TurnPhrase(w.Rot - r.Rot) + " verdraaid");
    return JoinWords(parts);
}

// ------------------------------------------------------------ shapes

const std::vector<EShape> kTurnable = {EShape::Arrow, EShape::Flag, EShape::Hook};
// Shapes that stay apart when drawn small (no two polygons with nearly the
// same number of corners).
const std::vector<EShape> kDistinct = {EShape::Circle,  EShape::Triangle, EShape::Square,
                                       EShape::Hexagon, EShape::Arrow,    EShape::Flag,
                                       EShape::Hook};

std::vector<int> Distinct(TRng& rng, std::vector<int> pool, int n) {
    rng.Shuffle(pool);
    pool.resize(size_t(n));
    return pool;
}

std::vector<int> ShapeInts(const std::vector<EShape>& shapes) {
    std::vector<int> out;
    for (EShape s : shapes)
        out.push_back(int(s));
    return out;
}

// Four distinct wrong figures, the most tempting first: candidates are
// tried in order, pictures that are already taken (or the answer) skipped.
std::vector<TFig> PickDistractors(const TFig& answer, const std::vector<TFig>& candidates,
                                  int wanted) {
    std::vector<TFig> out;
    for (const TFig& c : candidates) {
        if (int(out.size()) == wanted)
            break;
        if (c.Count < 1 || c.Count > kMaxCount || SamePicture(c, answer))
            continue;
        if (std::any_of(out.begin(), out.end(), [&](const TFig& o) { return SamePicture(o, c); }))
            continue;
        out.push_back(Canonical(c));
    }
    return out;
}

// Answer and distractors in random order; returns the answer's letter and
// the tempting distractor's.
struct TChoiceOrder {
    std::vector<TFig> Figs;
    int Answer = 0;
    int Tempting = 0;
};
TChoiceOrder Arrange(TRng& rng, const TFig& answer, const std::vector<TFig>& distractors) {
    std::vector<int> order(distractors.size() + 1);
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = int(i);
    rng.Shuffle(order);
    TChoiceOrder out;
    for (size_t slot = 0; slot < order.size(); ++slot) {
        const int k = order[slot];
        out.Figs.push_back(k == 0 ? Canonical(answer) : distractors[size_t(k - 1)]);
        if (k == 0)
            out.Answer = int(slot);
        if (k == 1)
            out.Tempting = int(slot);
    }
    return out;
}

// "... hoort dus <cell>: figuur <b>b</b>. Figuur d lijkt erop, maar ...",
// after a lead that says where the answer goes.
std::string AnswerSentence(const std::string& lead, const TFig& answer,
                           const TChoiceOrder& choices) {
    return lead + CellWith(answer) + ": figuur <b>" + Letter(choices.Answer) + "</b>. Figuur " +
           Letter(choices.Tempting) + " lijkt erop, maar " +
           Difference(choices.Figs[size_t(choices.Tempting)], answer) + ".";
}

// The answer with another fill, count or shape than any rule asks for.
TFig ChangedFig(TRng& rng, const TFig& answer, int attr, const std::vector<EShape>& shapePool) {
    TFig other = answer;
    if (attr == aFill)
        other.Fill = EFill((int(answer.Fill) + 1 + rng.Below(2)) % kFillCount);
    else if (attr == aCount)
        other.Count = answer.Count + (answer.Count < 3 ? 1 : -1);
    else
        other.Shape = rng.Pick(shapePool);
    return other;
}

std::string FigList(const std::vector<TFig>& figs) {
    std::vector<std::string> tokens;
    for (const TFig& f : figs)
        tokens.push_back(FigToken(f));
    std::string out;
    for (size_t i = 0; i < tokens.size(); ++i)
        out += (i ? ";" : "") + tokens[i];
    return out;
}

void AddQuestion(TTestSink& sink, int q, const std::string& prompt, const QImage* item,
                 const TChoiceOrder& choices, const std::string& explanation,
                 const std::string& rule) {
    const QString itemName = item ? sink.AddPicture(q, 0, *item) : QString();
    std::vector<QString> names;
    for (size_t i = 0; i < choices.Figs.size(); ++i)
        names.push_back(sink.AddPicture(q, char('a' + i), FigChoicePicture(choices.Figs[i])));
    TBankQuestion question;
    question.Text = QuestionText(prompt, itemName, names, 3);
    question.Answer = Letter(choices.Answer);
    question.Explanation = explanation;
    question.Rule = rule;
    sink.Test->Questions.push_back(std::move(question));
}

// =================================================================== series

enum ESeriesKind { skConst, skStep, skCycle, skSecond, skCorners };

struct TSeriesAttr {
    ESeriesKind Kind = skConst;
    int Step = 0;
    std::array<int, 5> Values{};
};

struct TSeriesPlan {
    std::array<TSeriesAttr, kAttrCount> Attrs;
};

// The values of one varying attribute over five figures.
TSeriesAttr MakeSeriesAttr(TRng& rng, int attr, ESeriesKind kind, const std::vector<int>& pool,
                           int maxCount, int tier) {
    TSeriesAttr a;
    a.Kind = kind;
    switch (kind) {
    case skStep:
        if (attr == aCount) {
            a.Step = rng.Chance(60) ? 1 : -1;
            const int start = a.Step > 0 ? rng.Between(1, maxCount - 4) : rng.Between(5, maxCount);
            for (int i = 0; i < 5; ++i)
                a.Values[size_t(i)] = start + i * a.Step;
        } else { // turns
            // Quarter turns first; eighths and three eighths later on.
            const std::vector<int> steps = tier == 0   ? std::vector<int>{2, 6}
                                           : tier == 1 ? std::vector<int>{1, 2, 6, 7}
                                                       : std::vector<int>{1, 2, 3, 5, 6, 7};
            a.Step = rng.Pick(steps);
            const int start = rng.Below(8);
            for (int i = 0; i < 5; ++i)
                a.Values[size_t(i)] = (start + i * a.Step) % 8;
        }
        break;
    case skSecond: { // turns only: 1, 2, 3, 4 eighths (or 2, 3, 4, 5)
        const int first = rng.Between(1, 2);
        int v = rng.Below(8);
        for (int i = 0; i < 5; ++i) {
            a.Values[size_t(i)] = v;
            v = (v + first + i) % 8;
        }
        a.Step = first;
        break;
    }
    case skCycle: {
        const int period = int(pool.size()) >= 3 && rng.Chance(50) ? 3 : 2;
        const std::vector<int> values = Distinct(rng, pool, period);
        for (int i = 0; i < 5; ++i)
            a.Values[size_t(i)] = values[size_t(i % period)];
        a.Step = period;
        break;
    }
    case skCorners: {
        a.Step = rng.Chance(70) ? 1 : -1;
        const int start = a.Step > 0 ? rng.Between(3, 4) : rng.Between(7, 8);
        for (int i = 0; i < 5; ++i)
            a.Values[size_t(i)] = int(*PolygonWithSides(start + i * a.Step));
        break;
    }
    case skConst:
        break;
    }
    return a;
}

// `mover`: "de pijl" when one shape turns, "de figuren" when shapes change.
std::string SeriesSentence(int attr, const TSeriesAttr& a, EShape shape, bool oneShape) {
    std::vector<std::string> shown;
    for (int i = 0; i < 4; ++i)
        shown.push_back(ValueWord(attr, a.Values[size_t(i)], oneShape ? shape : EShape::Flag));
    const std::string list = Sequence(shown);
    const std::string mover =
        oneShape ? "De " + Noun(shape, false) + " draait" : "De figuren draaien";
    switch (a.Kind) {
    case skStep:
        if (attr == aCount)
            return "Het aantal figuurtjes neemt elke stap met één " +
                   std::string(a.Step > 0 ? "toe" : "af") + ": " + list + ".";
        return mover + " elke stap " + TurnPhrase(a.Step) + ".";
    case skSecond:
        return mover + " elke stap een achtste slag (45 graden) verder dan de stap ervoor: eerst " +
               std::to_string(45 * a.Step) + " graden, dan " + std::to_string(45 * (a.Step + 1)) +
               ", dan " + std::to_string(45 * (a.Step + 2)) + " graden met de klok mee.";
    case skCycle:
        return Capital(std::string(attr == aFill    ? "de kleur"
                                   : attr == aCount ? "het aantal figuurtjes"
                                                    : "de vorm")) +
               (a.Step == 2 ? " wisselt steeds tussen twee: "
                            : " gaat in een vaste volgorde van drie rond: ") +
               list + ", ...";
    case skCorners: {
        std::vector<std::string> corners;
        for (int i = 0; i < 4; ++i)
            corners.push_back(std::to_string(Sides(EShape(a.Values[size_t(i)]))));
        return std::string("Elke figuur heeft één hoek ") + (a.Step > 0 ? "meer" : "minder") +
               " dan de vorige: " + Sequence(corners) + " hoeken.";
    }
    default:
        return {};
    }
}

void MakeSeriesQuestion(TRng& rng, TTestSink& sink, int q, int variant) {
    const int tier = Tier(q);
    TAttempts attempts("series");
    for (;;) {
        attempts.Next();
        // Which attributes change, and how.
        std::vector<std::pair<int, ESeriesKind>> changes;
        const auto add = [&](int attr, ESeriesKind kind) {
            for (const auto& c : changes)
                if (c.first == attr)
                    return;
            changes.push_back({attr, kind});
        };
        // Easy: one plain rule. Middle: two rules. Hard: three, or a turn
        // that itself grows.
        const std::vector<std::pair<int, ESeriesKind>> simple = {
            {aCount, skStep}, {aRot, skStep}, {aFill, skCycle}, {aShape, skCorners}};
        const std::vector<std::pair<int, ESeriesKind>> any = {
            {aCount, skStep},  {aCount, skCycle},   {aRot, skStep}, {aFill, skCycle},
            {aShape, skCycle}, {aShape, skCorners}, {aRot, skStep}, {aFill, skCycle}};
        const int varying = tier == 0   ? 1
                            : tier == 1 ? 2
                                        : (variant == 1 || rng.Chance(50) ? 3 : 2);
        if (tier == 0) {
            const auto c = rng.Pick(simple);
            add(c.first, c.second);
        }
        if (tier == 2 && varying == 2)
            add(aRot, skSecond);
        while (int(changes.size()) < varying) {
            const auto c = rng.Pick(any);
            add(c.first, c.second);
        }
        bool rotVaries = false, shapeVaries = false;
        ESeriesKind shapeKind = skConst;
        for (const auto& c : changes) {
            rotVaries |= c.first == aRot;
            if (c.first == aShape) {
                shapeVaries = true;
                shapeKind = c.second;
            }
        }
        // A turning figure needs a shape that shows its turn; corners are
        // counted on one large upright polygon.
        bool countVaries = false;
        for (const auto& c : changes)
            countVaries |= c.first == aCount;
        if (shapeKind == skCorners && (rotVaries || countVaries))
            continue;
        const int maxCount = rotVaries ? 4 : kMaxCount;
        const std::vector<EShape> shapePool = rotVaries ? kTurnable : kDistinct;

        TSeriesPlan plan;
        // The constant attributes first.
        const EShape shape = rng.Pick(shapePool);
        const int fill = rng.Below(kFillCount);
        const int count = rng.Between(1, rotVaries ? 3 : 4);
        const int rot = RotPeriod(shape) > 1 ? 2 * rng.Below(4) : 0;
        for (int attr = 0; attr < kAttrCount; ++attr)
            plan.Attrs[size_t(attr)].Values.fill(attr == aShape   ? int(shape)
                                                 : attr == aFill  ? fill
                                                 : attr == aCount ? count
                                                 : attr == aRot   ? rot
                                                                  : 0);
        for (const auto& [attr, kind] : changes) {
            std::vector<int> pool;
            if (attr == aFill)
                pool = {0, 1, 2};
            else if (attr == aCount)
                pool = rotVaries ? std::vector<int>{1, 2, 3} : std::vector<int>{1, 2, 3, 4};
            else if (attr == aShape)
                pool = ShapeInts(shapePool);
            if (attr == aCount && kind == skStep && maxCount < 5)
                plan.Attrs[size_t(attr)] = MakeSeriesAttr(rng, attr, skCycle, pool, maxCount, tier);
            else
                plan.Attrs[size_t(attr)] = MakeSeriesAttr(rng, attr, kind, pool, maxCount, tier);
        }
        std::vector<TFig> figs(5);
        for (int i = 0; i < 5; ++i)
            for (int attr = 0; attr < kAttrCount; ++attr)
                SetAttr(figs[size_t(i)], attr, plan.Attrs[size_t(attr)].Values[size_t(i)]);
        // Changing shapes stand upright unless the turn is a rule itself;
        // corners are counted on one large figure.
        for (TFig& f : figs) {
            if (shapeVaries && !rotVaries)
                f.Rot = 0;
            if (shapeKind == skCorners && plan.Attrs[aCount].Kind == skConst)
                f.Count = 1;
        }
        for (TFig& f : figs)
            f = Canonical(f);
        const std::vector<TFig> shown(figs.begin(), figs.begin() + 4);
        const TFig answer = figs[4];
        std::string why;
        const auto solved = Resolve(SeriesNext(shown), &why);
        if (!solved || !SamePicture(*solved, answer))
            continue;

        // Distractors: one rule broken at a time, the hardest rule first.
        std::vector<TFig> candidates;
        std::vector<int> order;
        for (int attr : {aRot, aShape, aCount, aFill})
            if (plan.Attrs[size_t(attr)].Kind != skConst)
                order.push_back(attr);
        for (int attr : order) {
            const TSeriesAttr& a = plan.Attrs[size_t(attr)];
            TFig stay = answer; // the step forgotten
            SetAttr(stay, attr, a.Values[3]);
            TFig far = answer; // one step too far, or the wrong member of the cycle
            if (attr == aRot)
                far.Rot = (answer.Rot + (a.Kind == skSecond ? 1 : a.Step)) % 8;
            else if (attr == aCount)
                far.Count = answer.Count + (answer.Count - a.Values[3]);
            else
                SetAttr(far, attr, a.Values[2]);
            candidates.push_back(rng.Chance(50) ? stay : far);
            candidates.push_back(candidates.back() == stay ? far : stay);
        }
        if (Chiral(answer.Shape)) {
            TFig m = answer;
            m.Mirrored = !m.Mirrored;
            candidates.push_back(m);
        }
        for (int attr : {aFill, aCount, aShape})
            if (plan.Attrs[size_t(attr)].Kind == skConst)
                candidates.push_back(ChangedFig(rng, answer, attr, shapePool));
        // Then two rules broken at once, to fill up.
        for (size_t i = 0; i + 1 < candidates.size() && candidates.size() < 24; ++i) {
            TFig both = candidates[i];
            const TFig& next = candidates[i + 1];
            for (int attr = 0; attr < kAttrCount; ++attr)
                if (AttrValue(next, attr) != AttrValue(answer, attr))
                    SetAttr(both, attr, AttrValue(next, attr));
            candidates.push_back(both);
        }
        // Keep the most tempting first, shuffle the rest a little.
        const std::vector<TFig> distractors = PickDistractors(answer, candidates, 4);
        if (distractors.size() < 4)
            continue;
        const TChoiceOrder choices = Arrange(rng, answer, distractors);

        std::string explanation;
        std::vector<std::string> same;
        for (int attr : {aShape, aFill, aCount, aRot}) {
            const TSeriesAttr& a = plan.Attrs[size_t(attr)];
            if (a.Kind != skConst)
                explanation += SeriesSentence(attr, a, answer.Shape, !shapeVaries) + " ";
            else if (attr != aRot || RotPeriod(answer.Shape) > 1)
                same.push_back(kAttrNouns[attr]);
        }
        explanation += SameSentence(same, "blijft steeds gelijk", "blijven steeds gelijk");
        explanation += AnswerSentence("Als volgende hoort er dus ", answer, choices);
        const std::string rule =
            "figseries shown=" + FigList(shown) + " choices=" + FigList(choices.Figs);
        const QImage item = SeriesPicture(shown);
        AddQuestion(sink, q, "Welke figuur komt als volgende in de reeks?", &item, choices,
                    explanation, rule);
        return;
    }
}

// =================================================================== matrices

enum EMatrixKind { mkConst, mkRow, mkCol, mkLatin, mkProg, mkSum };

struct TMatrixAttr {
    EMatrixKind Kind = mkConst;
    std::array<int, 3> Values{}; // the three values (const: the first)
    int Shift = 1;               // Latin: value index (r + Shift * c) % 3
    int Base = 0, DRow = 0, DCol = 0;
    std::array<std::array<int, 3>, 3> Grid{};
};

TMatrixAttr MakeMatrixAttr(TRng& rng, int attr, EMatrixKind kind, const std::vector<int>& pool,
                           int maxCount) {
    TMatrixAttr a;
    a.Kind = kind;
    if (kind == mkProg) {
        if (attr == aCount) {
            const int dir = rng.Below(3); // rows, columns or both
            a.DRow = dir != 1 ? 1 : 0;
            a.DCol = dir != 0 ? 1 : 0;
            a.Base = rng.Between(1, maxCount - 2 * (a.DRow + a.DCol));
        } else {
            const std::vector<int> steps = {1, 2, 6, 7};
            a.DCol = rng.Pick(steps);
            a.DRow = rng.Chance(50) ? 0 : rng.Pick(steps);
            a.Base = rng.Below(8);
        }
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 3; ++c) {
                const int v = a.Base + a.DRow * r + a.DCol * c;
                a.Grid[size_t(r)][size_t(c)] = attr == aRot ? v % 8 : v;
            }
        return a;
    }
    if (kind == mkSum) {
        std::set<std::pair<int, int>> used;
        for (int r = 0; r < 3; ++r) {
            int x, y;
            do {
                x = rng.Between(1, 3);
                y = rng.Between(1, std::min(3, maxCount - x));
            } while (!used.insert({x, y}).second);
            a.Grid[size_t(r)] = {x, y, x + y};
        }
        return a;
    }
    const std::vector<int> values = Distinct(rng, pool, 3);
    a.Values = {values[0], values[1], values[2]};
    a.Shift = rng.Chance(50) ? 1 : 2;
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) {
            const int idx = kind == mkConst ? 0
                            : kind == mkRow ? r
                            : kind == mkCol ? c
                                            : (r + a.Shift * c) % 3;
            a.Grid[size_t(r)][size_t(c)] = values[size_t(idx)];
        }
    return a;
}

std::string MatrixSentence(int attr, const TMatrixAttr& a, EShape shape, bool oneShape) {
    const auto& g = a.Grid;
    // Directions only make sense when every cell has the same pointed shape.
    const auto word = [&](int v) { return ValueWord(attr, v, oneShape ? shape : EShape::Flag); };
    // What the cells of a row or column share, and its value there.
    const auto shared = [&](const std::string& where, int v) {
        switch (attr) {
        case aShape:
            return "In elke " + where + " staat steeds dezelfde vorm; in de " +
                   (where == "rij" ? "onderste rij" : "rechterkolom") + " zijn dat " +
                   Noun(EShape(v), true) + ".";
        case aFill:
            return "In elke " + where + " hebben de figuren dezelfde kleur; in de " +
                   (where == "rij" ? "onderste rij" : "rechterkolom") + " is dat " + word(v) + ".";
        case aCount:
            return "In elke " + where + " staan in elk vak evenveel figuurtjes; in de " +
                   (where == "rij" ? "onderste rij" : "rechterkolom") + " zijn dat er " +
                   std::to_string(v) + ".";
        default:
            return "In elke " + where + " staan de figuren op dezelfde manier gedraaid; in de " +
                   (where == "rij" ? "onderste rij" : "rechterkolom") + ": " + word(v) + ".";
        }
    };
    switch (a.Kind) {
    case mkRow:
        return shared("rij", g[2][0]);
    case mkCol:
        return shared("kolom", g[0][2]);
    case mkLatin: {
        std::vector<std::string> words;
        for (int v : a.Values)
            words.push_back(attr == aShape   ? "een " + word(v)
                            : attr == aCount ? word(v) + " figuurtjes"
                                             : word(v));
        const std::string missing = attr == aShape   ? "de " + word(g[2][2])
                                    : attr == aCount ? word(g[2][2]) + " figuurtjes"
                                                     : word(g[2][2]);
        return "Voor " + std::string(kAttrNouns[attr]) +
               " geldt: elke rij en elke kolom heeft "
               "precies één keer " +
               JoinWords(words) + "; in de onderste rij ontbreekt nog " + missing + ".";
    }
    case mkProg:
        if (attr == aCount) {
            std::string s = "Het aantal figuurtjes neemt ";
            if (a.DCol && a.DRow)
                s += "zowel van links naar rechts als van boven naar beneden";
            else
                s += a.DCol ? "in elke rij van links naar rechts"
                            : "in elke kolom van boven naar beneden";
            return s + " met één toe.";
        } else {
            std::string s =
                "In elke rij " +
                std::string(oneShape ? "draait de " + Noun(shape, false) : "draaien de figuren") +
                " van links naar rechts steeds " + TurnPhrase(a.DCol);
            if (a.DRow)
                s += ", en van boven naar beneden steeds " + TurnPhrase(a.DRow);
            return s + ".";
        }
    case mkSum:
        return "In elke rij is het aantal figuurtjes rechts de som van de twee ervoor: " +
               std::to_string(g[0][0]) + " + " + std::to_string(g[0][1]) + " = " +
               std::to_string(g[0][2]) + ", " + std::to_string(g[1][0]) + " + " +
               std::to_string(g[1][1]) + " = " + std::to_string(g[1][2]) + ", dus " +
               std::to_string(g[2][0]) + " + " + std::to_string(g[2][1]) + " = " +
               std::to_string(g[2][2]) + ".";
    default:
        return {};
    }
}

void MakeMatrixQuestion(TRng& rng, TTestSink& sink, int q, int variant) {
    const int tier = Tier(q);
    TAttempts attempts("matrix");
    for (;;) {
        attempts.Next();
        // Matrices I keep the figures upright; II also turns them and adds sums.
        std::vector<int> attrs = {aShape, aFill, aCount};
        if (variant == 1 && tier > 0)
            attrs.push_back(aRot);
        rng.Shuffle(attrs);
        std::vector<std::pair<int, EMatrixKind>> changes;
        const auto simpleKind = [&](int attr) {
            if ((attr == aCount || attr == aRot) && rng.Chance(40))
                return mkProg;
            return rng.Chance(50) ? mkRow : mkCol;
        };
        if (tier == 0) {
            if (rng.Chance(50)) {
                changes.push_back({attrs[0], simpleKind(attrs[0])});
            } else {
                const bool rowFirst = rng.Chance(50);
                changes.push_back({attrs[0], rowFirst ? mkRow : mkCol});
                changes.push_back({attrs[1], rowFirst ? mkCol : mkRow});
            }
        } else {
            const int varying = tier == 1 ? 2 : 3;
            for (int i = 0; i < varying; ++i) {
                const int attr = attrs[size_t(i)];
                EMatrixKind kind = rng.Chance(50) ? mkLatin : simpleKind(attr);
                if (i == 0 && (tier == 2 || rng.Chance(60)))
                    kind = mkLatin; // at least one distribution of three
                if (attr == aCount && variant == 1 && tier == 2 && rng.Chance(35))
                    kind = mkSum;
                if (attr == aRot && kind != mkLatin)
                    kind = mkProg;
                changes.push_back({attr, kind});
            }
        }
        bool rotVaries = false;
        for (const auto& c : changes)
            rotVaries |= c.first == aRot;
        const std::vector<EShape> shapePool = rotVaries ? kTurnable : kDistinct;
        const int maxCount = rotVaries ? 4 : kMaxCount;

        std::array<TMatrixAttr, kAttrCount> plan;
        const EShape shape = rng.Pick(shapePool);
        plan[aShape] = MakeMatrixAttr(rng, aShape, mkConst, {int(shape)}, maxCount);
        plan[aFill] = MakeMatrixAttr(rng, aFill, mkConst, {rng.Below(kFillCount)}, maxCount);
        plan[aCount] = MakeMatrixAttr(rng, aCount, mkConst, {rng.Between(1, 3)}, maxCount);
        plan[aRot] =
            MakeMatrixAttr(rng, aRot, mkConst,
                           {RotPeriod(shape) > 1 && !rotVaries ? 0 : 2 * rng.Below(4)}, maxCount);
        plan[aMirror] = MakeMatrixAttr(rng, aMirror, mkConst, {0}, maxCount);
        for (const auto& [attr, kind] : changes) {
            std::vector<int> pool = attr == aFill    ? std::vector<int>{0, 1, 2}
                                    : attr == aCount ? std::vector<int>{1, 2, 3, 4}
                                    : attr == aRot   ? std::vector<int>{0, 2, 4, 6}
                                                     : ShapeInts(shapePool);
            if (attr == aCount && !rotVaries)
                pool.push_back(5);
            plan[size_t(attr)] = MakeMatrixAttr(rng, attr, kind, pool, maxCount);
        }
        std::vector<TFig> cells(9);
        for (int i = 0; i < 9; ++i)
            for (int attr = 0; attr < kAttrCount; ++attr)
                SetAttr(cells[size_t(i)], attr,
                        plan[size_t(attr)].Grid[size_t(i / 3)][size_t(i % 3)]);
        // Shapes that do not turn are drawn upright.
        for (TFig& f : cells)
            f = Canonical(f);
        const std::vector<TFig> known(cells.begin(), cells.begin() + 8);
        const TFig answer = cells[8];
        const auto solved = Resolve(MatrixMissing(known), nullptr);
        if (!solved || !SamePicture(*solved, answer))
            continue;

        // Distractors: one rule broken at a time, then the neighbours.
        std::vector<TFig> candidates;
        std::vector<int> varyingAttrs;
        for (int attr : {aRot, aCount, aShape, aFill})
            if (plan[size_t(attr)].Kind != mkConst)
                varyingAttrs.push_back(attr);
        for (int attr : varyingAttrs) {
            const auto& g = plan[size_t(attr)].Grid;
            for (int v : {g[2][1], g[1][2], g[2][0], g[0][2]}) {
                TFig wrong = answer;
                SetAttr(wrong, attr, v);
                candidates.push_back(wrong);
            }
            if (attr == aCount) {
                TFig wrong = answer;
                wrong.Count = answer.Count + (answer.Count < kMaxCount ? 1 : -1);
                candidates.push_back(wrong);
            }
        }
        candidates.push_back(cells[7]);
        candidates.push_back(cells[5]);
        for (int attr : {aFill, aCount, aShape})
            candidates.push_back(ChangedFig(rng, answer, attr, shapePool));
        const std::vector<TFig> distractors = PickDistractors(answer, candidates, 4);
        if (distractors.size() < 4)
            continue;
        const TChoiceOrder choices = Arrange(rng, answer, distractors);

        std::string explanation;
        std::vector<std::string> same;
        const bool oneShape = plan[aShape].Kind == mkConst;
        for (int attr : {aShape, aFill, aCount, aRot}) {
            const TMatrixAttr& a = plan[size_t(attr)];
            if (a.Kind != mkConst)
                explanation += MatrixSentence(attr, a, answer.Shape, oneShape) + " ";
            else if (attr != aRot || RotPeriod(answer.Shape) > 1)
                same.push_back(kAttrNouns[attr]);
        }
        explanation += SameSentence(same, "is overal gelijk", "zijn overal gelijk");
        explanation +=
            AnswerSentence("Op de plaats van het vraagteken hoort dus ", answer, choices);
        std::string cellList = FigList(known) + ";?";
        const std::string rule =
            "figmatrix cells=" + cellList + " choices=" + FigList(choices.Figs);
        const QImage item = MatrixPicture(known);
        AddQuestion(sink, q, "Welke figuur hoort op de plaats van het vraagteken?", &item, choices,
                    explanation, rule);
        return;
    }
}

// =================================================================== odd one out

enum EOddKind { okShape, okFill, okCount, okTurn, okParity, okCorners, okMirror };

void MakeOddQuestion(TRng& rng, TTestSink& sink, int q) {
    const int tier = Tier(q);
    TAttempts attempts("odd one out");
    for (;;) {
        attempts.Next();
        const std::vector<EOddKind> kinds =
            tier == 0   ? std::vector<EOddKind>{okShape, okFill, okCount, okTurn}
            : tier == 1 ? std::vector<EOddKind>{okShape, okFill, okCount, okParity}
                        : std::vector<EOddKind>{okCorners, okMirror, okParity, okCorners, okMirror};
        const EOddKind kind = rng.Pick(kinds);
        const int oddIndex = rng.Below(5);
        std::vector<TFig> figs(5);
        // Attributes that vary without meaning: never four alike, so they
        // single nobody out. With five or more values all five differ, which
        // keeps the four regular figures apart.
        const auto spread = [&](int attr, const std::vector<int>& pool) {
            std::vector<int> values = pool;
            rng.Shuffle(values);
            values.resize(std::max<size_t>(values.size(), 5));
            for (size_t i = pool.size(); i < 5; ++i)
                values[i] = values[i % pool.size()];
            values.resize(5);
            rng.Shuffle(values);
            for (int i = 0; i < 5; ++i)
                SetAttr(figs[size_t(i)], attr, values[size_t(i)]);
        };
        const auto fixed = [&](int attr, int value) {
            for (TFig& f : figs)
                SetAttr(f, attr, value);
        };
        std::string rule, oddText;
        switch (kind) {
        case okShape: {
            // Shapes that cannot be mixed up, even small: no neighbours in
            // the number of corners in the easy questions.
            const std::vector<int> pair =
                tier == 0
                    ? Distinct(rng, ShapeInts({EShape::Circle, EShape::Triangle, EShape::Square}),
                               2)
                    : Distinct(rng, ShapeInts(kDistinct), 2);
            fixed(aShape, pair[0]);
            figs[size_t(oddIndex)].Shape = EShape(pair[1]);
            spread(aCount, {1, 2, 3, 4, 5});
            if (tier == 0)
                fixed(aFill, rng.Below(kFillCount));
            else
                spread(aFill, {0, 1, 2});
            rule = "Vier figuren bestaan uit " + Noun(EShape(pair[0]), true) +
                   "; hoeveel het er zijn en welke kleur ze hebben, doet er niet toe.";
            oddText = "bestaat uit " + Noun(EShape(pair[1]), true);
            break;
        }
        case okFill: {
            const std::vector<int> pair = Distinct(rng, {0, 1, 2}, 2);
            fixed(aFill, pair[0]);
            figs[size_t(oddIndex)].Fill = EFill(pair[1]);
            spread(aShape, ShapeInts(kDistinct));
            if (tier > 0)
                spread(aCount, {1, 2, 3});
            rule = std::string("Vier figuren zijn ") + kFillWords[pair[0]] +
                   "; de vorm en het aantal doen er niet toe.";
            oddText = std::string("is ") + kFillWords[pair[1]];
            break;
        }
        case okCount: {
            const std::vector<int> pair = Distinct(rng, {1, 2, 3, 4}, 2);
            fixed(aCount, pair[0]);
            figs[size_t(oddIndex)].Count = pair[1];
            spread(aShape, ShapeInts(kDistinct));
            if (tier > 0)
                spread(aFill, {0, 1, 2});
            rule = "Vier figuren bestaan uit " + NumberWord(pair[0]) +
                   " figuurtjes; vorm en kleur doen er niet toe.";
            oddText = "heeft er " + NumberWord(pair[1]);
            break;
        }
        case okTurn: {
            const EShape s = rng.Pick(std::vector<EShape>{EShape::Arrow, EShape::Triangle});
            const std::vector<int> pair = Distinct(rng, {0, 2, 4, 6}, 2);
            fixed(aShape, int(s));
            fixed(aRot, pair[0]);
            figs[size_t(oddIndex)].Rot = pair[1];
            spread(aCount, {1, 2, 3, 4});
            spread(aFill, {0, 1, 2});
            rule = "Bij vier figuren wijzen de punten naar " + std::string(kDirections[pair[0]]) +
                   "; aantal en kleur doen er niet toe.";
            oddText = std::string("wijst naar ") + kDirections[pair[1]];
            break;
        }
        case okParity: {
            const bool evenShared = rng.Chance(50);
            std::vector<int> counts =
                evenShared ? std::vector<int>{2, 4, 6, 2, 4} : std::vector<int>{1, 3, 5, 1, 3};
            rng.Shuffle(counts);
            for (int i = 0; i < 5; ++i)
                figs[size_t(i)].Count = counts[size_t(i)];
            figs[size_t(oddIndex)].Count =
                evenShared ? rng.Pick(std::vector<int>{3, 5}) : rng.Pick(std::vector<int>{2, 4});
            spread(aShape, ShapeInts(kDistinct));
            spread(aFill, {0, 1, 2});
            rule = std::string("Vier figuren hebben een ") + (evenShared ? "even" : "oneven") +
                   " aantal figuurtjes.";
            oddText = "heeft er " + NumberWord(figs[size_t(oddIndex)].Count) + ", een " +
                      (evenShared ? "oneven" : "even") + " aantal";
            break;
        }
        case okCorners: {
            std::vector<int> sides = {3, 4, 5, 6, rng.Between(3, 6)};
            rng.Shuffle(sides);
            for (int i = 0; i < 5; ++i) {
                figs[size_t(i)].Shape = *PolygonWithSides(sides[size_t(i)]);
                figs[size_t(i)].Count = sides[size_t(i)];
            }
            int wrong;
            do
                wrong = rng.Between(2, 6);
            while (wrong == sides[size_t(oddIndex)]);
            figs[size_t(oddIndex)].Count = wrong;
            spread(aFill, {0, 1, 2});
            rule = "Bij vier figuren is het aantal figuurtjes gelijk aan het aantal hoeken van "
                   "één figuurtje (drie driehoeken, vier vierkanten, ...).";
            oddText = "heeft " + NumberWord(wrong) + " " +
                      Noun(figs[size_t(oddIndex)].Shape, true) + " met elk " +
                      NumberWord(sides[size_t(oddIndex)]) + " hoeken";
            break;
        }
        case okMirror: {
            const EShape s = rng.Pick(std::vector<EShape>{EShape::Flag, EShape::Hook});
            fixed(aShape, int(s));
            fixed(aFill, rng.Chance(50) ? 0 : 2);
            std::vector<int> rots = Distinct(rng, {0, 1, 2, 3, 4, 5, 6, 7}, 5);
            for (int i = 0; i < 5; ++i)
                figs[size_t(i)].Rot = rots[size_t(i)];
            figs[size_t(oddIndex)].Mirrored = true;
            rule = "Vier figuren zijn dezelfde " + Noun(s, false) + ", alleen anders gedraaid.";
            oddText = "is gespiegeld: die kan niet door draaien uit de andere ontstaan";
            break;
        }
        }
        for (TFig& f : figs)
            f = Canonical(f);
        const std::vector<int> odd = OddOnes(figs);
        if (odd != std::vector<int>{oddIndex})
            continue;
        bool distinct = true;
        for (int i = 0; i < 5; ++i)
            for (int j = i + 1; j < 5; ++j)
                distinct &= !SamePicture(figs[size_t(i)], figs[size_t(j)]);
        if (!distinct)
            continue;

        // The tempting one: a regular figure that stands out in something
        // that is no rule (the only one of its colour, shape or size).
        int tempting = -1;
        std::string temptingWhy;
        for (int i = 0; i < 5 && tempting < 0; ++i) {
            if (i == oddIndex)
                continue;
            for (int attr : {aFill, aShape, aCount, aRot}) {
                int alike = 0;
                for (const TFig& f : figs)
                    alike += AttrValue(f, attr) == AttrValue(figs[size_t(i)], attr) ? 1 : 0;
                if (alike == 1 && !(attr == aRot && kind == okMirror)) {
                    tempting = i;
                    temptingWhy = "is de enige met " + std::string(kAttrThis[attr]) +
                                  ", maar daarin verschillen de figuren toch al onderling; dat is "
                                  "dus geen regel";
                    break;
                }
            }
        }
        if (tempting < 0) {
            tempting = oddIndex == 0 ? 1 : 0;
            temptingWhy = "wijkt op het eerste gezicht af, maar voldoet wel aan de regel";
        }
        if (kind == okMirror) {
            // The one turned furthest from the first looks most different.
            int best = -1;
            for (int i = 0; i < 5; ++i)
                if (i != oddIndex && (best < 0 || std::abs(figs[size_t(i)].Rot - 4) <
                                                      std::abs(figs[size_t(best)].Rot - 4)))
                    best = i;
            tempting = best;
            temptingWhy = "staat anders gedraaid, maar valt na draaien samen met de andere";
        }
        std::string explanation = rule + " Figuur " + Letter(oddIndex) + " " + oddText +
                                  ". Figuur <b>" + Letter(oddIndex) +
                                  "</b> hoort er dus niet bij. Figuur " + Letter(tempting) + " " +
                                  temptingWhy + ".";
        TChoiceOrder choices;
        choices.Figs = figs;
        choices.Answer = oddIndex;
        AddQuestion(sink, q, "Welke figuur hoort er niet bij?", nullptr, choices, explanation,
                    "figodd choices=" + FigList(figs));
        return;
    }
}

} // namespace

void MakeSeriesTest(TRng& rng, TTestSink& sink, int variant) {
    for (int q = 0; q < kQuestionsPerTest; ++q)
        MakeSeriesQuestion(rng, sink, q, variant);
}

void MakeMatrixTest(TRng& rng, TTestSink& sink, int variant) {
    for (int q = 0; q < kQuestionsPerTest; ++q)
        MakeMatrixQuestion(rng, sink, q, variant);
}

void MakeOddTest(TRng& rng, TTestSink& sink) {
    for (int q = 0; q < kQuestionsPerTest; ++q)
        MakeOddQuestion(rng, sink, q);
}

} // namespace figure
