// Spatial families: flat figures turned in the plane, solids of blocks turned
// in space, and cube nets to fold.
#include "tools/bank/figure_draw.h"
#include "tools/bank/figure_gen.h"

#include <algorithm>
#include <set>

namespace figure {

namespace {

std::string JoinList(const std::vector<std::string>& parts, const char* sep) {
    std::string out;
    for (size_t i = 0; i < parts.size(); ++i)
        out += (i ? sep : "") + parts[i];
    return out;
}

// Slots for the answer and the distractors, in random order.
std::vector<int> Slots(TRng& rng, int n) {
    std::vector<int> spots(size_t(n), 0);
    for (int i = 0; i < n; ++i)
        spots[size_t(i)] = i;
    rng.Shuffle(spots);
    return spots;
}

void AddText(TTestSink& sink, const std::string& prompt, const QString& item,
             const std::vector<QString>& names, int perRow, int answer,
             const std::string& explanation, const std::string& rule) {
    TBankQuestion question;
    question.Text = QuestionText(prompt, item, names, perRow);
    question.Answer = Letter(answer);
    question.Explanation = explanation;
    question.Rule = rule;
    sink.Test->Questions.push_back(std::move(question));
}

// =================================================================== plane

constexpr int kPolyCellPx = 14;

// A square next to a random square of the figure; empty when that square
// is already part of the figure.
std::optional<TSquare> FreeNeighbour(TRng& rng, const TPoly& poly, bool black) {
    const TSquare& from = poly[size_t(rng.Below(int(poly.size())))];
    const int dir = rng.Below(4);
    const TSquare next{from.X + (dir == 0) - (dir == 1), from.Y + (dir == 2) - (dir == 3), black};
    if (std::any_of(poly.begin(), poly.end(),
                    [&](const TSquare& s) { return s.X == next.X && s.Y == next.Y; }))
        return std::nullopt;
    return next;
}

// Whether a normalized figure fits in maxSide x maxSide squares.
bool Fits(const TPoly& norm, int maxSide) {
    const auto [w, h] = PolySize(norm);
    return w <= maxSide && h <= maxSide;
}

TPoly GrowPoly(TRng& rng, int cells, int maxSide) {
    TPoly poly = {{0, 0, false}};
    while (int(poly.size()) < cells) {
        const auto next = FreeNeighbour(rng, poly, false);
        if (!next)
            continue;
        TPoly grown = poly;
        grown.push_back(*next);
        if (Fits(Normalized(grown), maxSide))
            poly = grown;
    }
    return Normalized(poly);
}

// One square taken away and put back elsewhere along the edge.
std::optional<TPoly> MoveOneSquare(TRng& rng, const TPoly& poly, int maxSide) {
    for (int attempt = 0; attempt < 50; ++attempt) {
        TPoly moved = poly;
        const size_t take = size_t(rng.Below(int(moved.size())));
        const bool black = moved[take].Black;
        moved.erase(moved.begin() + long(take));
        const auto next = FreeNeighbour(rng, moved, black);
        if (!next)
            continue;
        moved.push_back(*next);
        if (!Connected(moved))
            continue;
        moved = Normalized(moved);
        if (Fits(moved, maxSide))
            return moved;
    }
    return std::nullopt;
}

std::optional<TPoly> MoveMark(TRng& rng, const TPoly& poly) {
    std::vector<size_t> black, white;
    for (size_t i = 0; i < poly.size(); ++i)
        (poly[i].Black ? black : white).push_back(i);
    if (black.empty() || white.empty())
        return std::nullopt;
    TPoly moved = poly;
    moved[black[size_t(rng.Below(int(black.size())))]].Black = false;
    moved[white[size_t(rng.Below(int(white.size())))]].Black = true;
    return Normalized(moved);
}

void MakePlaneQuestion(TRng& rng, TTestSink& sink, int q) {
    const int tier = Tier(q);
    TAttempts attempts("plane");
    for (;;) {
        attempts.Next();
        const int cells = tier == 0 ? 5 : tier == 1 ? 6 : rng.Between(7, 8);
        const int maxSide = tier == 2 ? 5 : 4;
        TPoly base = GrowPoly(rng, cells, maxSide);
        for (int m = 0; m < (tier == 0 ? 0 : tier == 1 ? 1 : rng.Between(1, 2)); ++m)
            base[size_t(rng.Below(int(base.size())))].Black = true;
        base = Normalized(base);
        const TPoly mirror = Mirrored(base);
        if (TurnsBetween(base, mirror) >= 0)
            continue; // symmetric: its mirror image is just another turn
        const int turns = rng.Between(1, 3);
        const TPoly answer = Turned(base, turns);
        if (answer == base)
            continue;

        // Wrong choices: mirror images first (the tempting kind), then other
        // figures.
        enum { kMirror, kMoved, kMark };
        std::vector<int> kinds = tier == 0   ? std::vector<int>{kMirror, kMoved, kMoved}
                                 : tier == 1 ? std::vector<int>{kMirror, kMirror, kMoved, kMark}
                                             : std::vector<int>{kMirror, kMirror, kMirror, kMark};
        std::vector<TPoly> wrong;
        std::vector<int> wrongKinds;
        std::set<TPoly> taken = {answer, base};
        std::vector<int> mirrorTurns = {0, 1, 2, 3};
        rng.Shuffle(mirrorTurns);
        size_t nextMirror = 0;
        bool failed = false;
        for (int kind : kinds) {
            std::optional<TPoly> made;
            for (int attempt = 0; attempt < 8 && !made; ++attempt) {
                std::optional<TPoly> c;
                if (kind == kMirror && nextMirror < mirrorTurns.size())
                    c = Turned(mirror, mirrorTurns[nextMirror++]);
                else if (kind == kMoved)
                    c = MoveOneSquare(rng, base, maxSide);
                else if (kind == kMark)
                    c = MoveMark(rng, base);
                if (!c)
                    continue;
                if (kind != kMirror) {
                    // Neither a turn nor a mirror image of the figure.
                    if (TurnsBetween(base, *c) >= 0 || TurnsBetween(mirror, *c) >= 0)
                        continue;
                    c = Turned(*c, rng.Below(4));
                }
                if (taken.count(*c))
                    continue;
                made = c;
            }
            if (!made) {
                failed = true;
                break;
            }
            taken.insert(*made);
            wrong.push_back(*made);
            wrongKinds.push_back(kind);
        }
        if (failed)
            continue;

        const int n = int(wrong.size()) + 1;
        const std::vector<int> spots = Slots(rng, n); // spots[k]: where choice k goes
        std::vector<TPoly> choices{size_t(n)};
        choices[size_t(spots[0])] = answer;
        for (size_t k = 0; k < wrong.size(); ++k)
            choices[size_t(spots[k + 1])] = wrong[k];

        const QImage item = PolyPicture(base, kPolyCellPx, 100, false);
        const QString itemName = sink.AddPicture(q, 0, item);
        std::vector<QString> names;
        std::vector<std::string> tokens;
        for (int i = 0; i < n; ++i) {
            names.push_back(sink.AddPicture(
                q, char('a' + i), PolyPicture(choices[size_t(i)], kPolyCellPx, 80, true)));
            tokens.push_back(PolyToken(choices[size_t(i)]));
        }
        std::string explanation = "Figuur <b>" + Letter(spots[0]) + "</b> is de gegeven figuur, " +
                                  TurnPhrase(2 * turns) + " gedraaid.";
        bool firstMirror = true;
        for (size_t k = 0; k < wrong.size(); ++k) {
            const std::string who = "Figuur " + Letter(spots[k + 1]);
            if (wrongKinds[k] == kMirror) {
                explanation += firstMirror ? " " + who +
                                                 " is gespiegeld (omgeklapt) en kan dus niet "
                                                 "door draaien ontstaan."
                                           : " " + who + " is ook gespiegeld.";
                firstMirror = false;
            } else if (wrongKinds[k] == kMoved) {
                explanation +=
                    " In " + Letter(spots[k + 1]) +
                    " zit één vierkantje op een andere plaats: dat is een andere figuur.";
            } else {
                explanation += " In " + Letter(spots[k + 1]) +
                               " zit een zwart vierkantje op een andere plaats.";
            }
        }
        const int perRow = n == 4 ? 4 : 3;
        AddText(sink,
                "Welke figuur is dezelfde als de figuur hieronder, alleen gedraaid (niet "
                "gespiegeld)?",
                itemName, names, perRow, spots[0], explanation,
                "planerot item=" + PolyToken(base) + " choices=" + JoinList(tokens, ";"));
        return;
    }
}

// =================================================================== space

TSolid GrowSolid(TRng& rng, int blocks, int maxExtent) {
    TSolid solid = {{0, 0, 0}};
    while (int(solid.size()) < blocks) {
        const TBlock& from = solid[size_t(rng.Below(int(solid.size())))];
        const int dir = rng.Below(6);
        const TBlock next{from.X + (dir == 0) - (dir == 1), from.Y + (dir == 2) - (dir == 3),
                          from.Z + (dir == 4) - (dir == 5)};
        if (std::find(solid.begin(), solid.end(), next) != solid.end())
            continue;
        TSolid grown = solid;
        grown.push_back(next);
        const TSolid norm = Normalized(grown);
        bool fits = true;
        for (const TBlock& b : norm)
            fits &= b.X < maxExtent && b.Y < maxExtent && b.Z < maxExtent;
        if (fits)
            solid = grown;
    }
    return Normalized(solid);
}

std::optional<TSolid> MoveOneBlock(TRng& rng, const TSolid& solid) {
    for (int attempt = 0; attempt < 50; ++attempt) {
        TSolid moved = solid;
        moved.erase(moved.begin() + long(rng.Below(int(moved.size()))));
        const TBlock& from = moved[size_t(rng.Below(int(moved.size())))];
        const int dir = rng.Below(6);
        const TBlock next{from.X + (dir == 0) - (dir == 1), from.Y + (dir == 2) - (dir == 3),
                          from.Z + (dir == 4) - (dir == 5)};
        if (std::find(moved.begin(), moved.end(), next) != moved.end())
            continue;
        moved.push_back(next);
        if (Connected(moved))
            return Normalized(moved);
    }
    return std::nullopt;
}

// Turns about the upright axis (z stays z), without the identity.
std::vector<int> UprightTurns() {
    std::vector<int> out;
    const std::vector<TMat3>& turns = SpaceTurns();
    for (size_t i = 1; i < turns.size(); ++i)
        if (turns[i][8] == 1)
            out.push_back(int(i));
    return out;
}

bool WellVisible(const TSolid& s) {
    return LeastVisible(s) >= 2;
}

void MakeSpaceQuestion(TRng& rng, TTestSink& sink, int q) {
    const int tier = Tier(q);
    const std::vector<TMat3>& turns = SpaceTurns();
    TAttempts attempts("space");
    for (;;) {
        attempts.Next();
        const int blocks = tier == 0   ? rng.Between(4, 5)
                           : tier == 1 ? rng.Between(5, 6)
                                       : rng.Between(6, 7);
        const TSolid base = GrowSolid(rng, blocks, 3);
        if (TurnBetween(base, Mirrored(base)) >= 0)
            continue; // no mirror image different from the solid itself
        const TSolid item = Apply(turns[size_t(rng.Below(24))], base);
        if (!WellVisible(item))
            continue;
        const int answerTurn = tier == 0 ? rng.Pick(UprightTurns()) : rng.Between(1, 23);
        const TSolid answer = Apply(turns[size_t(answerTurn)], item);
        if (!WellVisible(answer) || IsoView(answer) == IsoView(item))
            continue;
        const TSolid mirror = Mirrored(item);

        enum { kMirror, kMoved };
        const std::vector<int> kinds = tier == 0   ? std::vector<int>{kMirror, kMoved, kMoved}
                                       : tier == 1 ? std::vector<int>{kMirror, kMirror, kMoved}
                                                   : std::vector<int>{kMirror, kMirror, kMirror};
        std::vector<TSolid> wrong;
        std::vector<std::vector<TIsoPiece>> views = {IsoView(item), IsoView(answer)};
        bool failed = false;
        for (int kind : kinds) {
            std::optional<TSolid> made;
            for (int attempt = 0; attempt < 30 && !made; ++attempt) {
                std::optional<TSolid> c =
                    kind == kMirror ? std::optional<TSolid>(mirror) : MoveOneBlock(rng, item);
                if (!c)
                    continue;
                if (kind == kMoved && (TurnBetween(item, *c) >= 0 || TurnBetween(mirror, *c) >= 0))
                    continue;
                // Turned at random too, so that no wrong choice is told apart
                // just by standing the way the item stands.
                c = Apply(turns[size_t(rng.Below(24))], *c);
                if (!WellVisible(*c))
                    continue;
                const std::vector<TIsoPiece> view = IsoView(*c);
                if (std::find(views.begin(), views.end(), view) != views.end())
                    continue;
                views.push_back(view);
                made = c;
            }
            if (!made) {
                failed = true;
                break;
            }
            wrong.push_back(*made);
        }
        if (failed)
            continue;

        const std::vector<int> spots = Slots(rng, 4);
        std::vector<TSolid> choices(4);
        choices[size_t(spots[0])] = answer;
        for (size_t k = 0; k < wrong.size(); ++k)
            choices[size_t(spots[k + 1])] = wrong[k];
        const double edge = std::min(SolidEdgeToFit(choices, 100), 24.0);
        const double itemEdge = std::min(edge * 1.25, SolidEdgeToFit({item}, 140));
        const QString itemName = sink.AddPicture(q, 0, SolidPicture(item, itemEdge, 140, false));
        std::vector<QString> names;
        std::vector<std::string> tokens;
        for (int i = 0; i < 4; ++i) {
            names.push_back(sink.AddPicture(q, char('a' + i),
                                            SolidPicture(choices[size_t(i)], edge, 100, true)));
            tokens.push_back(SolidToken(choices[size_t(i)]));
        }
        std::string explanation = "Bouwwerk <b>" + Letter(spots[0]) +
                                  "</b> is hetzelfde bouwwerk van " + NumberWord(blocks) +
                                  " blokjes, alleen anders gedraaid" +
                                  (tier == 0 ? " (om een staande as)" : "") + ".";
        bool firstMirror = true;
        for (size_t k = 0; k < wrong.size(); ++k) {
            const std::string who = Letter(spots[k + 1]);
            if (kinds[k] == kMirror) {
                explanation += firstMirror
                                   ? " Bouwwerk " + who +
                                         " is het spiegelbeeld: het lijkt erop, maar geen enkele "
                                         "draaiing maakt er het gegeven bouwwerk van, net zoals "
                                         "een linkerhand geen rechterhand wordt."
                                   : " Ook " + who + " is het spiegelbeeld, anders gedraaid.";
                firstMirror = false;
            } else {
                explanation += " In bouwwerk " + who + " zit één blokje op een andere plaats.";
            }
        }
        AddText(sink,
                "Welk bouwwerk is hetzelfde als het bouwwerk hieronder, alleen anders gedraaid?",
                itemName, names, 2, spots[0], explanation,
                "spacerot item=" + SolidToken(item) + " choices=" + JoinList(tokens, ";"));
        return;
    }
}

// =================================================================== cubes

// The eleven nets of the cube; the first six are the ones with a row of four.
const std::vector<std::vector<std::string>> kNets = {
    {"X...", "XXXX", "X..."}, {"X...", "XXXX", ".X.."}, {"X...", "XXXX", "..X."},
    {"X...", "XXXX", "...X"}, {".X..", "XXXX", ".X.."}, {".X..", "XXXX", "..X."},
    {"XX..", ".XXX", ".X.."}, {"XX..", ".XXX", "..X."}, {"XX..", ".XXX", "...X"},
    {"XX..", ".XX.", "..XX"}, {"XXX..", "..XXX"}};

const char* const kSymbolTexts[kSymbolCount] = {
    "de stip",    "de ring", "het plusteken",       "het kruisje", "de ruit",
    "de strepen", "de pijl", "het halfzwarte vlak", "de driehoek", "het zwarte hoekje"};

std::vector<std::pair<int, int>> NetCells(TRng& rng, const std::vector<std::string>& rows) {
    std::vector<std::pair<int, int>> cells;
    for (size_t r = 0; r < rows.size(); ++r)
        for (size_t c = 0; c < rows[r].size(); ++c)
            if (rows[r][c] == 'X')
                cells.push_back({int(c), int(r)});
    // Any of the eight ways to lay the net down.
    const int turns = rng.Below(4);
    const bool flip = rng.Chance(50);
    for (auto& [c, r] : cells) {
        if (flip)
            c = -c;
        for (int t = 0; t < turns; ++t)
            std::tie(c, r) = std::pair(-r, c);
    }
    int minC = cells[0].first, minR = cells[0].second;
    for (const auto& [c, r] : cells) {
        minC = std::min(minC, c);
        minR = std::min(minR, r);
    }
    for (auto& [c, r] : cells) {
        c -= minC;
        r -= minR;
    }
    return cells;
}

void MakeCubeQuestion(TRng& rng, TTestSink& sink, int q, int variant) {
    const int tier = Tier(q);
    const std::vector<int> plain = {int(ESymbol::Dot), int(ESymbol::Ring), int(ESymbol::Plus),
                                    int(ESymbol::Cross), int(ESymbol::Diamond)};
    const std::vector<int> turning = {int(ESymbol::Bars), int(ESymbol::Arrow), int(ESymbol::Half),
                                      int(ESymbol::Triangle), int(ESymbol::Corner)};
    // How many symbols whose turn can be seen.
    const int turningCount = variant == 0 ? std::array<int, 3>{1, 2, 4}[size_t(tier)]
                                          : std::array<int, 3>{3, 4, 5}[size_t(tier)];
    TAttempts attempts("cube");
    for (;;) {
        attempts.Next();
        const size_t netCount = tier == 0 ? 6 : tier == 1 ? 9 : kNets.size();
        size_t netIndex = size_t(rng.Below(int(netCount)));
        if (tier == 2 && rng.Chance(50))
            netIndex = size_t(rng.Between(6, int(kNets.size()) - 1));
        const auto cells = NetCells(rng, kNets[netIndex]);
        std::vector<int> symbols = plain;
        rng.Shuffle(symbols);
        symbols.resize(size_t(6 - turningCount));
        std::vector<int> turned = turning;
        rng.Shuffle(turned);
        symbols.insert(symbols.end(), turned.begin(), turned.begin() + turningCount);
        rng.Shuffle(symbols);
        TNet net;
        for (size_t i = 0; i < 6; ++i)
            net.push_back({cells[i].first, cells[i].second, ESymbol(symbols[i]), rng.Below(4)});
        const auto folded = Fold(net);
        if (!folded)
            continue; // cannot happen with the nets above; the tests make sure
        std::vector<std::array<int, 3>> seen;
        const std::vector<TCubeView> views = CubeViews(net, &seen);
        std::vector<int> opposite(6);
        for (int i = 0; i < 6; ++i)
            for (int j = 0; j < 6; ++j)
                if ((*folded)[size_t(j)].Normal == TVec3{-(*folded)[size_t(i)].Normal[0],
                                                         -(*folded)[size_t(i)].Normal[1],
                                                         -(*folded)[size_t(i)].Normal[2]})
                    opposite[size_t(i)] = j;
        const int answerView = rng.Below(int(views.size()));
        const TCubeView answer = views[size_t(answerView)];

        enum { kOpposite, kTurned, kSwapped };
        std::vector<int> kinds = tier == 0   ? std::vector<int>{kOpposite, kSwapped, kOpposite}
                                 : tier == 1 ? std::vector<int>{kTurned, kOpposite, kSwapped}
                                             : std::vector<int>{kTurned, kSwapped, kTurned};
        std::vector<TCubeView> wrong;
        std::vector<int> wrongKinds;
        std::vector<std::string> reasons;
        for (int kind : kinds) {
            bool made = false;
            for (int attempt = 0; attempt < 40 && !made; ++attempt) {
                // Start from a view that can be folded, then break it; the
                // harder questions break the answer's own view.
                const int from =
                    tier == 2 || rng.Chance(50) ? answerView : rng.Below(int(views.size()));
                TCubeView c = views[size_t(from)];
                const std::array<int, 3>& faces = seen[size_t(from)];
                std::string reason;
                int k = kind;
                if (k == kTurned) {
                    std::vector<int> spots;
                    for (int s = 0; s < 3; ++s)
                        if (SymbolPeriod(c[size_t(s)].Symbol) > 1)
                            spots.push_back(s);
                    if (spots.empty())
                        k = kOpposite;
                    else {
                        const int s = rng.Pick(spots);
                        const int period = SymbolPeriod(c[size_t(s)].Symbol);
                        c[size_t(s)].Rot = (c[size_t(s)].Rot + rng.Between(1, period - 1)) % 4;
                        reason = "toont drie vlakken die wel om één hoek liggen, maar " +
                                 std::string(kSymbolTexts[int(c[size_t(s)].Symbol)]) +
                                 " staat verkeerd gedraaid ten opzichte van de buurvlakken";
                    }
                }
                if (k == kOpposite) {
                    const int s = rng.Below(3), t = (s + 1 + rng.Below(2)) % 3;
                    const int face = opposite[size_t(faces[size_t(t)])];
                    c[size_t(s)] = {net[size_t(face)].Symbol, rng.Below(4)};
                    reason =
                        "kan niet: " + std::string(kSymbolTexts[int(net[size_t(face)].Symbol)]) +
                        " en " + kSymbolTexts[int(c[size_t(t)].Symbol)] +
                        " liggen op de kubus tegenover elkaar en zijn nooit tegelijk te zien";
                }
                if (k == kSwapped) {
                    const int s = rng.Below(3), t = (s + 1) % 3;
                    std::swap(c[size_t(s)], c[size_t(t)]);
                    reason = "toont drie vlakken die wel om één hoek liggen, maar in gespiegelde "
                             "volgorde: " +
                             std::string(kSymbolTexts[int(c[size_t(s)].Symbol)]) + " en " +
                             kSymbolTexts[int(c[size_t(t)].Symbol)] + " zijn van plaats gewisseld";
                }
                c = Canonical(c);
                if (std::find(views.begin(), views.end(), c) != views.end() || c == answer ||
                    std::find(wrong.begin(), wrong.end(), c) != wrong.end())
                    continue;
                wrong.push_back(c);
                wrongKinds.push_back(k);
                reasons.push_back(reason);
                made = true;
            }
            if (!made)
                break;
        }
        if (wrong.size() != kinds.size())
            continue;

        const std::vector<int> spots = Slots(rng, 4);
        std::vector<TCubeView> choices(4);
        choices[size_t(spots[0])] = answer;
        for (size_t k = 0; k < wrong.size(); ++k)
            choices[size_t(spots[k + 1])] = wrong[k];
        const QString itemName = sink.AddPicture(q, 0, NetPicture(net, 34));
        std::vector<QString> names;
        std::vector<std::string> tokens;
        for (int i = 0; i < 4; ++i) {
            names.push_back(
                sink.AddPicture(q, char('a' + i), CubePicture(choices[size_t(i)], 100)));
            tokens.push_back(ViewToken(choices[size_t(i)]));
        }
        const std::array<int, 3>& answerFaces = seen[size_t(answerView)];
        std::string explanation =
            "Kubus <b>" + Letter(spots[0]) + "</b> kan: vouw de uitslag dicht en leg " +
            kSymbolTexts[int(net[size_t(answerFaces[0])].Symbol)] + " bovenop; dan liggen " +
            kSymbolTexts[int(net[size_t(answerFaces[1])].Symbol)] + " links en " +
            kSymbolTexts[int(net[size_t(answerFaces[2])].Symbol)] +
            " rechts, precies zo gedraaid als getekend.";
        for (size_t k = 0; k < wrong.size(); ++k)
            explanation += " Kubus " + Letter(spots[k + 1]) + " " + reasons[k] + ".";
        if (tier == 0)
            explanation += " Tip: twee vlakken met één vlak ertussen in een rechte rij komen "
                           "tegenover elkaar te liggen.";
        AddText(sink, "Welke kubus kunt u uit deze uitslag vouwen?", itemName, names, 2, spots[0],
                explanation, "cubefold net=" + NetToken(net) + " choices=" + JoinList(tokens, ";"));
        return;
    }
}

} // namespace

void MakePlaneTest(TRng& rng, TTestSink& sink) {
    for (int q = 0; q < kQuestionsPerTest; ++q)
        MakePlaneQuestion(rng, sink, q);
}

void MakeSpaceTest(TRng& rng, TTestSink& sink) {
    for (int q = 0; q < kQuestionsPerTest; ++q)
        MakeSpaceQuestion(rng, sink, q);
}

void MakeCubeTest(TRng& rng, TTestSink& sink, int variant) {
    for (int q = 0; q < kQuestionsPerTest; ++q)
        MakeCubeQuestion(rng, sink, q, variant);
}

} // namespace figure
