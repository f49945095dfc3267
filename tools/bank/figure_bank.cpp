#include "tools/bank/figure_bank.h"
#include "tools/bank/figure_gen.h"

#include <functional>

namespace figure {

QString TTestSink::PictureName(int question, char letter) const {
    QString name = QString::fromStdString(Code + Number) +
                   QString::number(question + 1).rightJustified(3, QLatin1Char('0'));
    if (letter)
        name += QChar::fromLatin1(letter);
    return name + ".png";
}

QString TTestSink::AddPicture(int question, char letter, const QImage& image) {
    const QString name = PictureName(question, letter);
    Pictures->push_back({name, image});
    return name;
}

std::string Letter(int index) {
    return std::string(1, char('a' + index));
}

std::string QuestionText(const std::string& prompt, const QString& itemPicture,
                         const std::vector<QString>& choicePictures, int perRow) {
    std::string text = prompt + "\n\n";
    if (!itemPicture.isEmpty())
        text += "<img name=\"" + itemPicture.toStdString() + "\">\n\n";
    // The whole picture is part of the link, so a click on it chooses it.
    for (size_t i = 0; i < choicePictures.size(); ++i) {
        if (i % size_t(perRow) != 0)
            text += "   ";
        text += "<a href=\"" + Letter(int(i)) + "\">" + Letter(int(i)) + ") <img name=\"" +
                choicePictures[i].toStdString() + "\"></a>";
        if ((i + 1) % size_t(perRow) == 0 && i + 1 < choicePictures.size())
            text += "\n";
    }
    return text;
}

std::string Introduction(const std::string& title, const std::string& what, int seconds) {
    return "<b><font size=\"+2\">" + title + "</font size=\"-2\"></b>\n\n" + what +
           "\n\nDe test bestaat uit " + std::to_string(kQuestionsPerTest) +
           " vragen. De eerste vragen zijn eenvoudig, daarna worden ze steeds moeilijker. Klik "
           "op de figuur van uw keuze. Wij raden een tijdslimiet van " +
           std::to_string(seconds) + " seconden per vraag aan.";
}

std::string NumberWord(int n) {
    static const char* const words[] = {"nul", "één",   "twee", "drie",  "vier", "vijf",
                                        "zes", "zeven", "acht", "negen", "tien"};
    return n >= 0 && n <= 10 ? words[n] : std::to_string(n);
}

std::string TurnPhrase(int eighths) {
    const int e = ((eighths % 8) + 8) % 8;
    switch (e) {
    case 1:
        return "een achtste slag (45 graden) met de klok mee";
    case 2:
        return "een kwartslag (90 graden) met de klok mee";
    case 3:
        return "drie achtste slag (135 graden) met de klok mee";
    case 4:
        return "een halve slag (180 graden)";
    case 5:
        return "drie achtste slag (135 graden) tegen de klok in";
    case 6:
        return "een kwartslag (90 graden) tegen de klok in";
    case 7:
        return "een achtste slag (45 graden) tegen de klok in";
    default:
        return "niet";
    }
}

} // namespace figure

TFigureBank MakeFigureBank(uint32_t seed) {
    using namespace figure;
    TFigureBank bank;
    struct TTestPlan {
        const char* Number;
        const char* Title;
        std::string What;
        int Seconds;
        std::function<void(TRng&, TTestSink&)> Make;
    };
    struct TGroupPlan {
        const char* FileName;
        const char* Code;
        const char* Title;
        std::vector<TTestPlan> Tests;
    };
    const std::string series =
        "In deze test ziet u telkens een reeks figuren die volgens een of meer vaste regels "
        "verandert: de vorm, het aantal, de draaiing of de kleur. Kies de figuur die als volgende "
        "in de reeks hoort.";
    const std::string matrix =
        "In deze test ziet u telkens een raster van drie bij drie vakken waarvan het vak "
        "rechtsonder leeg is. Langs de rijen en de kolommen gelden regels voor de vorm, het "
        "aantal, de draaiing en de kleur van de figuren. Kies de figuur die op de lege plaats "
        "hoort.";
    const std::string cubes =
        "In deze test ziet u telkens de uitslag van een kubus: zes vierkanten met op elk vlak "
        "een teken. Kies de kubus die u uit deze uitslag kunt vouwen. Let op welke vlakken naast "
        "elkaar komen te liggen en hoe de tekens gedraaid staan.";
    const std::vector<TGroupPlan> plan = {
        {"40-figuren",
         "figu",
         "Figuren en matrices",
         {{"001", "Figurenreeksen I", series, 60,
           [](TRng& r, TTestSink& s) { MakeSeriesTest(r, s, 0); }},
          {"002", "Figurenreeksen II", series, 60,
           [](TRng& r, TTestSink& s) { MakeSeriesTest(r, s, 1); }},
          {"003", "Matrices I", matrix, 60, [](TRng& r, TTestSink& s) { MakeMatrixTest(r, s, 0); }},
          {"004", "Matrices II", matrix, 60,
           [](TRng& r, TTestSink& s) { MakeMatrixTest(r, s, 1); }},
          {"005", "Wat hoort er niet bij?",
           "In deze test ziet u telkens vijf figuren. Vier daarvan hebben iets gemeen: de vorm, "
           "de kleur, het aantal, of een vaste samenhang daartussen. Eén figuur breekt die regel. "
           "Kies de figuur die er niet bij hoort.",
           60, [](TRng& r, TTestSink& s) { MakeOddTest(r, s); }}}},
        {"41-ruimtelijk",
         "ruim",
         "Ruimtelijk inzicht",
         {{"001", "Draaien in het vlak",
           "In deze test ziet u telkens een figuur van vierkantjes met daaronder een aantal "
           "keuzes. Eén keuze is dezelfde figuur, alleen in het vlak gedraaid. De andere keuzes "
           "zijn gespiegeld (omgeklapt) of een andere figuur. Spiegelen telt dus niet als "
           "draaien.",
           60, [](TRng& r, TTestSink& s) { MakePlaneTest(r, s); }},
          {"002", "Draaien in de ruimte",
           "In deze test ziet u telkens een bouwwerk van even grote blokjes, schuin van boven "
           "getekend. Kies het bouwwerk dat hetzelfde is, alleen anders gedraaid. De andere "
           "keuzes zijn het spiegelbeeld of een bouwwerk waarin een blokje op een andere plaats "
           "zit. Alle blokjes zijn te zien; er zitten geen blokjes verborgen.",
           90, [](TRng& r, TTestSink& s) { MakeSpaceTest(r, s); }},
          {"003", "Kubussen vouwen I", cubes, 90,
           [](TRng& r, TTestSink& s) { MakeCubeTest(r, s, 0); }},
          {"004", "Kubussen vouwen II", cubes, 90,
           [](TRng& r, TTestSink& s) { MakeCubeTest(r, s, 1); }}}},
    };
    uint32_t salt = 0;
    for (const TGroupPlan& g : plan) {
        TBankGroup group{g.FileName, g.Code, g.Title, {}};
        for (const TTestPlan& t : g.Tests) {
            TBankTest test{t.Number, t.Title, Introduction(t.Title, t.What, t.Seconds), {}};
            // Every test its own stream: changing one family leaves the
            // others as they were.
            TRng rng(seed * 2654435761u + (++salt) * 40503u);
            TTestSink sink{g.Code, t.Number, &test, &bank.Pictures};
            t.Make(rng, sink);
            group.Tests.push_back(std::move(test));
        }
        bank.Groups.push_back(std::move(group));
    }
    return bank;
}
