#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The models behind the generated figure questions: what each picture shows,
// in numbers. The generator draws its pictures from these models and the
// checker solves the questions from them, so the two cannot drift apart.
// Nothing here needs the GUI library.
namespace figure {

// ---------------------------------------------------------------------------
// Cell figures (series, matrices, odd one out): `Count` copies of one shape,
// all with the same fill, all turned alike.

enum class EShape : uint8_t {
    Circle,
    Triangle,
    Square,
    Pentagon,
    Hexagon,
    Heptagon,
    Octagon,
    Arrow,
    Flag,
    Hook
};
constexpr int kShapeCount = 10;
enum class EFill : uint8_t { White, Grey, Black };
constexpr int kFillCount = 3;
constexpr int kMaxCount = 6;

struct TFig {
    EShape Shape = EShape::Circle;
    EFill Fill = EFill::White;
    int Count = 1;         // 1 .. kMaxCount
    int Rot = 0;           // eighth turns clockwise, 0 .. 7
    bool Mirrored = false; // reflected left to right before turning
    bool operator==(const TFig&) const = default;
};

// Corners of a polygon; 0 for the circle, -1 for the other shapes.
int Sides(EShape shape);
// Eighth turns after which the shape looks the same again (1, 2, 4 or 8).
int RotPeriod(EShape shape);
// Whether the mirror image differs from every turned copy.
bool Chiral(EShape shape);
// The polygon with that many corners (3 .. 8).
std::optional<EShape> PolygonWithSides(int sides);
// The same picture with the turn and reflection reduced to what can be seen,
// so that equal pictures have equal models.
TFig Canonical(TFig fig);
bool SamePicture(const TFig& a, const TFig& b);

// "shape/fill/count/rot" with "/m" for a reflected figure.
std::string FigToken(const TFig& fig);
std::optional<TFig> ParseFig(std::string_view token);
const char* ShapeName(EShape shape); // as in the tokens
const char* FillName(EFill fill);

// The attributes the rules work on.
enum EAttr { aShape, aFill, aCount, aRot, aMirror, kAttrCount };
int AttrValue(const TFig& fig, int attr);
void SetAttr(TFig& fig, int attr, int value);

// Per attribute, every value that some rule we know gives the figure asked
// for. No value: no rule fits the shown figures; several: the question has
// more than one reading. Values are read from the canonical figures, so a
// turn that cannot be seen does not count.
using TPredictions = std::array<std::vector<int>, kAttrCount>;
// The figure after `shown` (at least three figures).
TPredictions SeriesNext(const std::vector<TFig>& shown);
// The bottom right cell of a 3 x 3 matrix; `cells` are the other eight, row
// by row.
TPredictions MatrixMissing(const std::vector<TFig>& cells);
// The figure all predictions agree on; nothing (and why in `problem`) when an
// attribute has no value or more than one.
std::optional<TFig> Resolve(const TPredictions& predictions, std::string* problem);
// The figures that break a property the other figures all share, by any
// property we know (same shape, fill, count or turn, even count, round shape,
// as many copies as corners, reflected). A fair question has exactly one.
std::vector<int> OddOnes(const std::vector<TFig>& figs);

// ---------------------------------------------------------------------------
// Flat figures of unit squares (rotation in the plane). A black square is a
// marked one; it turns along with the figure.

struct TSquare {
    int X = 0;
    int Y = 0; // downwards, as on screen
    bool Black = false;
    auto operator<=>(const TSquare&) const = default;
};
using TPoly = std::vector<TSquare>;

// Moved to the origin and sorted: equal pictures give equal values.
TPoly Normalized(TPoly poly);
// Width and height in squares of a normalized figure.
std::pair<int, int> PolySize(const TPoly& norm);
// Quarter turns clockwise on screen.
TPoly Turned(const TPoly& poly, int quarters);
TPoly Mirrored(const TPoly& poly);
// The quarter turns (0 .. 3) that make `to` from `from`; -1 when none do.
int TurnsBetween(const TPoly& from, const TPoly& to);
bool Connected(const TPoly& poly);
std::string PolyToken(const TPoly& poly); // "x.y+x.yb+..." (b: black)
std::optional<TPoly> ParsePoly(std::string_view token);

// ---------------------------------------------------------------------------
// Solids of unit cubes (rotation in space), seen in isometric projection
// from the corner (+x, +y, +z): +z on top, +x at the lower left, +y at the
// lower right.

struct TBlock {
    int X = 0;
    int Y = 0;
    int Z = 0;
    auto operator<=>(const TBlock&) const = default;
};
using TSolid = std::vector<TBlock>;
using TMat3 = std::array<int, 9>; // row by row

// The 24 turns of space that map the axes onto axes; the first is the
// identity.
const std::vector<TMat3>& SpaceTurns();
TSolid Apply(const TMat3& m, const TSolid& solid);
TSolid Normalized(TSolid solid);
TSolid Mirrored(const TSolid& solid);
// Index into SpaceTurns() of a turn that makes `to` from `from`; -1 when none.
int TurnBetween(const TSolid& from, const TSolid& to);
bool Connected(const TSolid& solid);
std::string SolidToken(const TSolid& solid); // "x.y.z+x.y.z+..."
std::optional<TSolid> ParseSolid(std::string_view token);

// The projection divides the plane into triangles; a lattice point (a, b) is
// where the corner (x, y, z) lands with a = x - z, b = y - z. Triangle
// (I, J, Upper) lies in the cell [I, I+1] x [J, J+1] of the lattice, below
// or above its diagonal from (I, J) to (I+1, J+1).
struct TIsoPiece {
    int I = 0;
    int J = 0;
    int Upper = 0;
    int BlockA = 0; // where the block showing here lands (its hexagon)
    int BlockB = 0;
    int Face = 0; // 0: +x, 1: +y, 2: +z
    auto operator<=>(const TIsoPiece&) const = default;
};
// Every triangle of the picture with the face seen there, moved to start at
// (0, 0): equal lists are equal pictures.
std::vector<TIsoPiece> IsoView(const TSolid& solid);
// The fewest triangles through which any single block can be seen; a block
// with none is hidden and the picture does not show the solid.
int LeastVisible(const TSolid& solid);

// ---------------------------------------------------------------------------
// Cube nets (folding): six squares with a symbol each, turned in quarter
// turns clockwise as seen from outside the cube.

enum class ESymbol : uint8_t {
    Dot,
    Ring,
    Plus,
    Cross,
    Diamond,
    Bars,
    Arrow,
    Half,
    Triangle,
    Corner
};
constexpr int kSymbolCount = 10;
// Quarter turns after which the symbol looks the same (1, 2 or 4).
int SymbolPeriod(ESymbol symbol);
const char* SymbolName(ESymbol symbol);

struct TNetFace {
    int Col = 0;
    int Row = 0; // downwards
    ESymbol Symbol = ESymbol::Dot;
    int Rot = 0;
    bool operator==(const TNetFace&) const = default;
};
using TNet = std::vector<TNetFace>;

using TVec3 = std::array<int, 3>;
struct TFoldedFace {
    TVec3 Normal; // outwards
    TVec3 Up;     // where the top of the symbol points
};
// The cube folded from the net, face by face; nothing when the six squares
// are not a net of a cube.
std::optional<std::vector<TFoldedFace>> Fold(const TNet& net);

// A cube seen from the corner as above: its top, left (+x) and right (+y)
// faces. Turns are quarter turns clockwise against the frame of the face:
// `ViewFrameUp` and `ViewFrameRight` (the drawing uses the same frames).
struct TFaceShown {
    ESymbol Symbol = ESymbol::Dot;
    int Rot = 0;
    auto operator<=>(const TFaceShown&) const = default;
};
using TCubeView = std::array<TFaceShown, 3>;
constexpr std::array<TVec3, 3> kViewNormals = {{{0, 0, 1}, {1, 0, 0}, {0, 1, 0}}};
constexpr std::array<TVec3, 3> kViewFrameUp = {{{-1, 0, 0}, {0, 0, 1}, {0, 0, 1}}};
constexpr std::array<TVec3, 3> kViewFrameRight = {{{0, 1, 0}, {0, 1, 0}, {-1, 0, 0}}};

TCubeView Canonical(TCubeView view);
// The views of the folded net, one per turn of the cube (canonical; the same
// view may come more than once when symbols repeat). `faces`, when given,
// gets the net squares seen in each view.
std::vector<TCubeView> CubeViews(const TNet& net, std::vector<std::array<int, 3>>* faces = nullptr);
std::string NetToken(const TNet& net);   // "col.row.symbol.rot+..."
std::string ViewToken(const TCubeView&); // "symbol.rot+symbol.rot+symbol.rot"
std::optional<TNet> ParseNet(std::string_view token);
std::optional<TCubeView> ParseView(std::string_view token);

// ---------------------------------------------------------------------------
// Rule lines: "<kind> key=value ...", values without spaces, figures in a
// list separated by ';'.
//   figseries  shown=F;F;F;F        choices=F;...
//   figmatrix  cells=F;...;F;?      choices=F;...   (? = bottom right)
//   figodd                          choices=F;...
//   planerot   item=P               choices=P;...
//   spacerot   item=S               choices=S;...
//   cubefold   net=N                choices=V;...
struct TRuleLine {
    std::string Kind;
    std::vector<std::pair<std::string, std::string>> Fields;
    const std::string* Field(std::string_view key) const;
};
std::optional<TRuleLine> ParseRuleLine(std::string_view line);
std::vector<std::string> SplitList(std::string_view text, char separator);

} // namespace figure
