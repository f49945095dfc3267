#include "tools/bank/bank_check.h"
#include "tools/bank/figure_rules.h"

#include <algorithm>
#include <functional>
#include <optional>
#include <set>

using namespace figure;

namespace {

std::string Letter(size_t i) {
    return std::string(1, char('a' + i));
}

// The models of a list field, parsed one by one; nothing when one fails.
template <typename T, typename Parse>
std::optional<std::vector<T>> ParseAll(const std::string* field, Parse parse) {
    if (!field || field->empty())
        return std::nullopt;
    std::vector<T> out;
    for (const std::string& token : SplitList(*field, ';')) {
        std::optional<T> item = parse(token);
        if (!item)
            return std::nullopt;
        out.push_back(*item);
    }
    return out;
}

// What every kind has in common: 4 or 5 choices, no two alike, exactly one
// that fits and that one keyed.
template <typename T>
void CheckChoices(const std::vector<T>& choices, std::string_view answer,
                  const std::function<bool(const T&, const T&)>& samePicture,
                  const std::function<bool(const T&)>& fits, std::vector<std::string>& problems) {
    if (choices.size() < 4 || choices.size() > 5)
        problems.push_back("a figure question needs 4 or 5 choices, not " +
                           std::to_string(choices.size()));
    for (size_t i = 0; i < choices.size(); ++i)
        for (size_t j = i + 1; j < choices.size(); ++j)
            if (samePicture(choices[i], choices[j]))
                problems.push_back("choices " + Letter(i) + " and " + Letter(j) +
                                   " show the same figure");
    std::string fitting;
    for (size_t i = 0; i < choices.size(); ++i)
        if (fits(choices[i]))
            fitting += Letter(i);
    if (fitting.size() != 1)
        problems.push_back(fitting.empty() ? std::string("no choice fits")
                                           : "choices " + fitting + " all fit");
    else if (fitting != answer)
        problems.push_back("choice " + fitting + " fits, but the answer is '" +
                           std::string(answer) + "'");
}

void CheckCellFigures(const TRuleLine& rule, std::string_view answer,
                      std::vector<std::string>& problems) {
    const auto choices = ParseAll<TFig>(rule.Field("choices"), ParseFig);
    if (!choices) {
        problems.push_back("choices are not figures");
        return;
    }
    const std::function<bool(const TFig&, const TFig&)> same = SamePicture;
    if (rule.Kind == "figodd") {
        // The figures are the choices; the odd one is the one that fits.
        const std::vector<int> odd = OddOnes(*choices);
        const std::set<int> oddSet(odd.begin(), odd.end());
        CheckChoices<TFig>(
            *choices, answer, same,
            [&](const TFig& f) {
                for (size_t i = 0; i < choices->size(); ++i)
                    if ((*choices)[i] == f)
                        return oddSet.count(int(i)) > 0;
                return false;
            },
            problems);
        return;
    }
    TPredictions predictions;
    if (rule.Kind == "figseries") {
        const auto shown = ParseAll<TFig>(rule.Field("shown"), ParseFig);
        if (!shown || shown->size() < 3) {
            problems.push_back("the series needs at least three figures");
            return;
        }
        predictions = SeriesNext(*shown);
    } else {
        const std::string* cells = rule.Field("cells");
        std::vector<std::string> tokens =
            cells ? SplitList(*cells, ';') : std::vector<std::string>();
        if (tokens.size() != 9 || tokens[8] != "?") {
            problems.push_back("a matrix has nine cells, the last one '?'");
            return;
        }
        std::vector<TFig> known;
        for (size_t i = 0; i < 8; ++i) {
            const auto fig = ParseFig(tokens[i]);
            if (!fig) {
                problems.push_back("cell " + std::to_string(i + 1) + " is not a figure");
                return;
            }
            known.push_back(*fig);
        }
        predictions = MatrixMissing(known);
    }
    std::string why;
    const std::optional<TFig> expected = Resolve(predictions, &why);
    if (!expected) {
        problems.push_back(why);
        return;
    }
    CheckChoices<TFig>(
        *choices, answer, same, [&](const TFig& f) { return SamePicture(f, *expected); }, problems);
}

void CheckPlane(const TRuleLine& rule, std::string_view answer,
                std::vector<std::string>& problems) {
    const auto items = ParseAll<TPoly>(rule.Field("item"), ParsePoly);
    const auto choices = ParseAll<TPoly>(rule.Field("choices"), ParsePoly);
    if (!items || items->size() != 1 || !choices) {
        problems.push_back("item or choices are not flat figures");
        return;
    }
    const TPoly& item = (*items)[0];
    if (!Connected(item))
        problems.push_back("the figure falls apart");
    // With a symmetric figure a mirror image is just another turn.
    if (TurnsBetween(item, Mirrored(item)) >= 0)
        problems.push_back("the figure equals its own mirror image");
    CheckChoices<TPoly>(
        *choices, answer,
        [](const TPoly& a, const TPoly& b) { return Normalized(a) == Normalized(b); },
        [&](const TPoly& p) { return TurnsBetween(item, p) >= 0; }, problems);
    for (size_t i = 0; i < choices->size(); ++i)
        if (Letter(i) == answer && TurnsBetween(item, (*choices)[i]) == 0)
            problems.push_back("the answer is the figure itself, not turned");
}

void CheckSpace(const TRuleLine& rule, std::string_view answer,
                std::vector<std::string>& problems) {
    const auto items = ParseAll<TSolid>(rule.Field("item"), ParseSolid);
    const auto choices = ParseAll<TSolid>(rule.Field("choices"), ParseSolid);
    if (!items || items->size() != 1 || !choices) {
        problems.push_back("item or choices are not solids");
        return;
    }
    const TSolid& item = (*items)[0];
    if (!Connected(item))
        problems.push_back("the solid falls apart");
    if (TurnBetween(item, Mirrored(item)) >= 0)
        problems.push_back("the solid equals its own mirror image");
    // What is not seen cannot be compared.
    if (LeastVisible(item) < 2)
        problems.push_back("a block of the solid is (nearly) hidden");
    for (size_t i = 0; i < choices->size(); ++i) {
        if (LeastVisible((*choices)[i]) < 2)
            problems.push_back("a block of choice " + Letter(i) + " is (nearly) hidden");
        if (IsoView((*choices)[i]) == IsoView(item))
            problems.push_back("choice " + Letter(i) + " looks exactly like the solid");
    }
    CheckChoices<TSolid>(
        *choices, answer, [](const TSolid& a, const TSolid& b) { return IsoView(a) == IsoView(b); },
        [&](const TSolid& s) { return TurnBetween(item, s) >= 0; }, problems);
}

void CheckCube(const TRuleLine& rule, std::string_view answer, std::vector<std::string>& problems) {
    const std::string* netField = rule.Field("net");
    const auto net = netField ? ParseNet(*netField) : std::nullopt;
    const auto choices = ParseAll<TCubeView>(rule.Field("choices"), ParseView);
    if (!net || !choices) {
        problems.push_back("net or choices are not readable");
        return;
    }
    if (!Fold(*net)) {
        problems.push_back("the six squares do not fold into a cube");
        return;
    }
    std::set<ESymbol> symbols;
    for (const TNetFace& f : *net)
        symbols.insert(f.Symbol);
    if (symbols.size() != net->size())
        problems.push_back("two faces of the net carry the same symbol");
    const std::vector<TCubeView> views = CubeViews(*net);
    CheckChoices<TCubeView>(
        *choices, answer,
        [](const TCubeView& a, const TCubeView& b) { return Canonical(a) == Canonical(b); },
        [&](const TCubeView& v) {
            return std::find(views.begin(), views.end(), Canonical(v)) != views.end();
        },
        problems);
}

} // namespace

std::vector<std::string> CheckFigureRule(std::string_view rule, std::string_view answer,
                                         bool& handled) {
    static const std::set<std::string, std::less<>> kinds = {"figseries", "figmatrix", "figodd",
                                                             "planerot",  "spacerot",  "cubefold"};
    std::vector<std::string> problems;
    const std::optional<TRuleLine> line = ParseRuleLine(rule);
    handled = false;
    if (!line || !kinds.count(line->Kind)) {
        // Our kind with fields we cannot read is still ours.
        const std::string_view kind = rule.substr(0, rule.find(' '));
        if (kinds.count(kind)) {
            handled = true;
            problems.push_back("unreadable rule '" + std::string(rule) + "'");
        }
        return problems;
    }
    handled = true;
    if (line->Kind == "figseries" || line->Kind == "figmatrix" || line->Kind == "figodd")
        CheckCellFigures(*line, answer, problems);
    else if (line->Kind == "planerot")
        CheckPlane(*line, answer, problems);
    else if (line->Kind == "spacerot")
        CheckSpace(*line, answer, problems);
    else
        CheckCube(*line, answer, problems);
    return problems;
}
