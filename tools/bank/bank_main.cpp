// zenx-bankgen OUT_DIR: writes the generated part of the test bank (content
// sources, rules for the checker and pictures) into OUT_DIR.
#include "tools/bank/bank_writer.h"
#include "tools/bank/figure_bank.h"
#include "tools/bank/numeric_bank.h"

#include <QGuiApplication>
#include <cstdio>

namespace {

// Fixed, so that every build makes the same bank.
constexpr uint32_t kNumericSeed = 20261207;
constexpr uint32_t kFigureSeed = 19870314;

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: zenx-bankgen OUT_DIR\n");
        return 2;
    }
    // Pictures are drawn with fonts and painters that need the GUI library,
    // but no screen.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    TBankWriter writer(QString::fromLocal8Bit(argv[1]));
    bool ok = true;
    for (const TBankGroup& group : MakeNumericBank(kNumericSeed))
        ok = writer.AddGroup(group) && ok;
    const TFigureBank figures = MakeFigureBank(kFigureSeed);
    for (const auto& [name, image] : figures.Pictures)
        ok = writer.AddPicture(name, image) && ok;
    for (const TBankGroup& group : figures.Groups)
        ok = writer.AddGroup(group) && ok;
    if (!ok) {
        std::fprintf(stderr, "zenx-bankgen: could not write into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
