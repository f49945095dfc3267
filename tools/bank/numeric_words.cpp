// Word problems: every template picks its numbers so that the answer and its
// classic wrong answer come out as whole numbers or short decimals, and says
// in Dutch how to get the answer and where the wrong one goes astray.
#include "tools/bank/numeric_groups.h"

#include <algorithm>
#include <numeric>
#include <optional>
#include <set>
#include <stdexcept>

namespace {

using F = TFraction;

enum class TShow { Money, Plain, Duration, Percent };

struct TWord {
    std::string Tpl;
    std::string Fields; // " key=value ..." for the checker
    std::string Question;
    F Answer;
    TShow Show = TShow::Plain;
    std::string Suffix; // after a plain number: " dagen"
    std::string How;    // "{antwoord}" for the key
    std::vector<std::pair<F, std::string>> Tempting;
    std::vector<F> Near; // plain fillers around the answer
    bool Whole = false;  // ages and numbers of people: no fractions on offer
    bool Grade = false;  // school marks: at most 10
};

struct TPerson {
    const char* Name;
    const char* He;  // zij / hij
    const char* His; // haar / zijn
};

const std::vector<TPerson>& People() {
    static const std::vector<TPerson> people = {
        {"Anna", "zij", "haar"},  {"Sanne", "zij", "haar"}, {"Fleur", "zij", "haar"},
        {"Lotte", "zij", "haar"}, {"Noor", "zij", "haar"},  {"Iris", "zij", "haar"},
        {"Bram", "hij", "zijn"},  {"Daan", "hij", "zijn"},  {"Joris", "hij", "zijn"},
        {"Ruben", "hij", "zijn"}, {"Thijs", "hij", "zijn"}, {"Milan", "hij", "zijn"},
    };
    return people;
}

// Things that are "de" words, so that "de {item}" reads right, with what
// they may cost in whole euros.
struct TGood {
    const char* Name;
    int64_t Low, High;
};

const std::vector<TGood>& Goods() {
    static const std::vector<TGood> goods = {
        {"jas", 40, 200},        {"fiets", 200, 900},      {"lamp", 20, 120},
        {"stoel", 30, 200},      {"tas", 20, 150},         {"rugzak", 20, 120},
        {"boekenkast", 60, 400}, {"wasmachine", 300, 900}, {"spelcomputer", 200, 500},
    };
    return goods;
}

// A price for the good in whole multiples of `step` euros.
F PriceOf(TRandom& r, const TGood& good, int64_t step) {
    return F(step * r.Range((good.Low + step - 1) / step, good.High / step));
}

std::string Cap(std::string text) {
    if (!text.empty() && text[0] >= 'a' && text[0] <= 'z')
        text[0] = char(text[0] - 'a' + 'A');
    return text;
}

void Field(TWord& w, const char* key, F value) {
    w.Fields += std::string(" ") + key + "=" + value.ToDecimal();
}

std::string Pct(F value) {
    return Dutch(value) + "%";
}

bool Short(F v) {
    return v.Valid() && (v * F(100)).IsInteger();
}

std::string Duration(F minutes) {
    const int64_t m = minutes.Num;
    const int64_t h = m / 60;
    const int64_t rest = m % 60;
    if (h == 0)
        return std::to_string(rest) + " minuten";
    if (rest == 0)
        return std::to_string(h) + " uur";
    return std::to_string(h) + " uur en " + std::to_string(rest) + " minuten";
}

std::string Show(const TWord& w, F v) {
    switch (w.Show) {
    case TShow::Money:
        return Money(v);
    case TShow::Duration:
        return Duration(v);
    case TShow::Percent:
        return Pct(v);
    case TShow::Plain:
        break;
    }
    return Dutch(v) + w.Suffix;
}

// --- prices and discounts ------------------------------------------------------

std::optional<TWord> Prijs(TRandom& r, int level) {
    struct Item {
        const char* One;
        const char* Many;
    };
    static const std::vector<Item> items = {{"schrift", "schriften"},
                                            {"pen", "pennen"},
                                            {"brood", "broden"},
                                            {"ijsje", "ijsjes"},
                                            {"tijdschrift", "tijdschriften"},
                                            {"bos bloemen", "bossen bloemen"}};
    const Item item = r.Pick(items);
    const F price = level == 0 ? F(r.Range(2, 12) * 25, 100) : F(r.Range(7, 90) * 5, 100);
    const int64_t count = level == 0 ? r.Range(2, 5) : r.Range(3, 6);
    const int64_t want = level == 0 ? r.Range(2, 8) : r.Range(4, 12);
    if (want == count)
        return std::nullopt;
    const F total = price * F(count);
    TWord w;
    w.Tpl = "prijs";
    Field(w, "count", F(count));
    Field(w, "total", total);
    Field(w, "want", F(want));
    w.Show = TShow::Money;
    w.Answer = price * F(want);
    w.Question = std::to_string(count) + " " + item.Many + " kosten samen " + Money(total) +
                 ". Hoeveel kosten " + std::to_string(want) + " " + item.Many + "?";
    w.How = std::string("Eén ") + item.One + " kost " + Money(total) + " : " +
            std::to_string(count) + " = " + Money(price) + ". Voor " + std::to_string(want) + " " +
            item.Many + " betaalt u dus " + std::to_string(want) + " x " + Money(price) + " = <b>" +
            Money(w.Answer) + "</b> ({antwoord}).";
    w.Tempting = {
        {price, std::string("{} is de prijs van één ") + item.One + ", niet van " +
                    std::to_string(want) + "."},
        {total * F(count) / F(want), "Wie de verhouding omdraait (" + Money(total) + " x " +
                                         std::to_string(count) + " : " + std::to_string(want) +
                                         "), kiest {}."},
        {total, "{} is wat " + std::to_string(count) + " " + item.Many +
                    " kosten; de vraag gaat over " + std::to_string(want) + " " + item.Many + "."},
    };
    w.Near = {F(1), F(-1), F(1, 2), F(-1, 2), F(2), F(-2)};
    return w;
}

std::optional<TWord> Korting(TRandom& r, int level) {
    const TGood& good = r.Pick(Goods());
    const std::string item = good.Name;
    const F price = PriceOf(r, good, level == 0 ? 10 : 5);
    const F pct = level == 0 ? F(r.Pick(std::vector<int64_t>{10, 20, 25, 50}))
                             : F(r.Pick(std::vector<int64_t>{15, 20, 25, 30, 35, 40}));
    const F discount = price * pct / F(100);
    TWord w;
    w.Tpl = "korting";
    Field(w, "price", price);
    Field(w, "pct", pct);
    w.Show = TShow::Money;
    w.Answer = price - discount;
    w.Question = "Een " + item + " kost " + Money(price) + ". In de uitverkoop krijgt u " +
                 Pct(pct) + " korting. Hoeveel betaalt u?";
    w.How = "De korting is " + Pct(pct) + " van " + Money(price) + " = " + Money(discount) +
            ". U betaalt dus " + Money(price) + " - " + Money(discount) + " = <b>" +
            Money(w.Answer) + "</b> ({antwoord}).";
    w.Tempting = {
        {discount, "{} is het bedrag van de korting, niet wat u betaalt."},
        {price - pct,
         "Wie " + Dutch(pct) + " euro aftrekt in plaats van " + Dutch(pct) + " procent, kiest {}."},
        {price + discount, "{} is de prijs met " + Pct(pct) + " erbij in plaats van eraf."},
    };
    w.Near = {F(5), F(-5), F(10), F(-10), F(1), F(-1)};
    return w;
}

std::optional<TWord> Korting2(TRandom& r, int level) {
    const TGood& good = r.Pick(Goods());
    const std::string item = good.Name;
    const F price = PriceOf(r, good, 10);
    const F p1 = F(r.Pick(std::vector<int64_t>{20, 25, 30, 40, 50}));
    const F p2 = level <= 3 ? F(r.Pick(std::vector<int64_t>{10, 20, 25}))
                            : F(r.Pick(std::vector<int64_t>{10, 15, 20, 25, 30}));
    const F d1 = price * p1 / F(100);
    const F mid = price - d1;
    const F d2 = mid * p2 / F(100);
    TWord w;
    w.Tpl = "korting2";
    Field(w, "price", price);
    Field(w, "pct1", p1);
    Field(w, "pct2", p2);
    w.Show = TShow::Money;
    w.Answer = mid - d2;
    w.Question = "Een " + item + " kost " + Money(price) + ". De winkel geeft eerst " + Pct(p1) +
                 " korting. Bij de kassa gaat er nog eens " + Pct(p2) +
                 " af van de nieuwe prijs. Hoeveel betaalt u?";
    w.How = "De eerste korting is " + Pct(p1) + " van " + Money(price) + " = " + Money(d1) +
            ", dus de " + item + " kost dan " + Money(mid) + ". De tweede korting is " + Pct(p2) +
            " van " + Money(mid) + " = " + Money(d2) + ". U betaalt dus " + Money(mid) + " - " +
            Money(d2) + " = <b>" + Money(w.Answer) + "</b> ({antwoord}).";
    w.Tempting = {
        {price * (F(100) - p1 - p2) / F(100),
         "Wie de kortingen bij elkaar optelt (" + Pct(p1 + p2) +
             "), kiest {}, maar de tweede korting gaat van de al verlaagde prijs af."},
        {mid, "{} is de prijs na alleen de eerste korting."},
        {d1 + d2, "{} is de totale korting, niet wat u betaalt."},
    };
    w.Near = {F(5), F(-5), F(10), F(-10)};
    return w;
}

std::optional<TWord> Terug(TRandom& r, int level) {
    const TGood& good = r.Pick(Goods());
    const std::string item = good.Name;
    const F old = PriceOf(r, good, level <= 2 ? 10 : 5);
    const F pct = level <= 2 ? F(r.Pick(std::vector<int64_t>{10, 20, 25, 50}))
                             : F(r.Pick(std::vector<int64_t>{10, 15, 20, 25, 30, 50}));
    const F factor = (F(100) + pct) / F(100);
    const F price = old * factor;
    const F increase = price - old;
    TWord w;
    w.Tpl = "terug";
    Field(w, "price", price);
    Field(w, "pct", pct);
    w.Show = TShow::Money;
    w.Answer = old;
    w.Question = "Na een prijsverhoging van " + Pct(pct) + " kost een " + item + " " +
                 Money(price) + ". Wat kostte de " + item + " vóór de verhoging?";
    w.How = "De nieuwe prijs is " + Pct(F(100) + pct) +
            " van de oude prijs. De oude prijs is dus " + Money(price) + " : " + Dutch(factor) +
            " = <b>" + Money(old) + "</b> ({antwoord}). Controle: " + Pct(pct) + " van " +
            Money(old) + " is " + Money(increase) + ", en " + Money(old) + " + " + Money(increase) +
            " = " + Money(price) + ".";
    w.Tempting = {
        {price * (F(100) - pct) / F(100),
         "Wie " + Pct(pct) + " van " + Money(price) + " aftrekt, kiest {}, maar de verhoging van " +
             Pct(pct) + " was berekend over de oude, lagere prijs."},
        {price - pct,
         "Wie " + Dutch(pct) + " euro aftrekt in plaats van " + Dutch(pct) + " procent, kiest {}."},
    };
    w.Near = {F(5), F(-5), F(10), F(-10), F(2), F(-2)};
    return w;
}

// --- percentages ---------------------------------------------------------------

struct TShare {
    const char* Setting; // "Een school heeft {} leerlingen."
    const char* Noun;    // "leerlingen"
    const char* Part;    // "komt met de fiets" (singular: "het aantal ... dat ...")
    const char* Rest;    // "komt niet met de fiets"
    const char* AskPart;
    const char* AskRest;
};

const std::vector<TShare>& Shares() {
    static const std::vector<TShare> shares = {
        {"Een school heeft {} leerlingen. Van hen komt ", "leerlingen", "met de fiets komt",
         "niet met de fiets komt",
         "met de fiets naar school. Hoeveel leerlingen komen met de fiets?",
         "met de fiets naar school. Hoeveel leerlingen komen niet met de fiets?"},
        {"Een sportclub heeft {} leden. Van hen is ", "leden", "jonger dan 18 jaar is",
         "18 jaar of ouder is", "jonger dan 18 jaar. Hoeveel leden zijn jonger dan 18 jaar?",
         "jonger dan 18 jaar. Hoeveel leden zijn 18 jaar of ouder?"},
        {"Aan een enquête hebben {} mensen meegedaan. Van hen is ", "mensen",
         "het eens is met het voorstel", "het niet eens is met het voorstel",
         "het eens met het voorstel. Hoeveel mensen zijn het eens met het voorstel?",
         "het eens met het voorstel. Hoeveel mensen zijn het niet eens met het voorstel?"},
    };
    return shares;
}

std::optional<TWord> Procent(TRandom& r, int level, bool rest) {
    const TShare& s = r.Pick(Shares());
    const F total = level == 0 ? F(r.Range(2, 12) * 50) : F(r.Range(12, 80) * 10);
    // Never 50%: the part and the rest would be the same number.
    const F pct = level == 0 ? F(r.Pick(std::vector<int64_t>{10, 20, 25, 30, 40}))
                             : F(r.Pick(std::vector<int64_t>{15, 35, 45, 60, 65, 75, 12, 8}));
    const F part = total * pct / F(100);
    if (!part.IsInteger())
        return std::nullopt;
    TWord w;
    w.Tpl = rest ? "procentrest" : "procent";
    w.Whole = true;
    Field(w, "total", total);
    Field(w, "pct", pct);
    w.Suffix = std::string(" ") + s.Noun;
    w.Question = Fill(s.Setting, Dutch(total)) + Pct(pct) + " " + (rest ? s.AskRest : s.AskPart);
    const F other = total - part;
    // Tempting whichever share is asked: the percentage taken for a count.
    const std::pair<F, std::string> pctAsCount = {
        total - pct, "Wie " + Dutch(pct) + " van " + Dutch(total) + " aftrekt, kiest {}, maar " +
                         Pct(pct) + " is een deel van het geheel, geen aantal " + s.Noun + "."};
    if (!rest) {
        w.Answer = part;
        w.How = Pct(pct) + " betekent " + Dutch(pct) + " van elke 100. " + Pct(pct) + " van " +
                Dutch(total) + " is dus " + Dutch(total) + " x " + Dutch(pct) + " : 100 = <b>" +
                Dutch(part) + "</b> ({antwoord}).";
        w.Tempting = {
            {other, std::string("{} is het aantal ") + s.Noun + " dat " + s.Rest + "."},
            pctAsCount,
        };
    } else {
        w.Answer = other;
        const F otherPct = F(100) - pct;
        w.How = "Als " + Pct(pct) + " er wel bij hoort, blijft er 100% - " + Pct(pct) + " = " +
                Pct(otherPct) + " over. " + Pct(otherPct) + " van " + Dutch(total) + " is " +
                Dutch(total) + " x " + Dutch(otherPct) + " : 100 = <b>" + Dutch(other) +
                "</b> ({antwoord}).";
        w.Tempting = {
            {part, std::string("{} is het aantal ") + s.Noun + " dat " + s.Part +
                       "; de vraag gaat over de rest."},
            pctAsCount,
        };
    }
    w.Near = {F(10), F(-10), F(5), F(-5), F(20), F(-20)};
    return w;
}

std::optional<TWord> Procent2(TRandom& r, int level) {
    const TGood& good = r.Pick(Goods());
    const std::string item = good.Name;
    const F price = PriceOf(r, good, 20);
    const F pct = level <= 3 ? F(r.Pick(std::vector<int64_t>{10, 20, 25, 50}))
                             : F(r.Pick(std::vector<int64_t>{10, 15, 20, 30, 40}));
    const F up = price + price * pct / F(100);
    const F down = up * pct / F(100);
    TWord w;
    w.Tpl = "procent2";
    Field(w, "price", price);
    Field(w, "pct", pct);
    w.Show = TShow::Money;
    w.Answer = up - down;
    w.Question = "Een " + item + " kost " + Money(price) + ". De prijs gaat eerst met " + Pct(pct) +
                 " omhoog en een maand later weer met " + Pct(pct) + " omlaag. Wat kost de " +
                 item + " daarna?";
    w.How = "Na de verhoging kost de " + item + " " + Money(price) + " + " +
            Money(price * pct / F(100)) + " = " + Money(up) + ". De verlaging is " + Pct(pct) +
            " van dit hogere bedrag: " + Money(down) + ". Daarna kost de " + item + " dus " +
            Money(up) + " - " + Money(down) + " = <b>" + Money(w.Answer) + "</b> ({antwoord}).";
    w.Tempting = {
        {price, "Wie denkt dat de verhoging en de verlaging elkaar opheffen, kiest {}, maar de " +
                    Pct(pct) + " eraf gaat over een hoger bedrag dan de " + Pct(pct) + " erbij."},
        {up, "{} is de prijs na alleen de verhoging."},
    };
    w.Near = {F(-1), F(1), F(-2), F(2), F(-5), F(5)};
    return w;
}

// --- work, speed and time --------------------------------------------------------

std::optional<TWord> Werk(TRandom& r, int level) {
    struct Job {
        const char* One;
        const char* Many;
        const char* Task;
    };
    static const std::vector<Job> jobs = {{"schilder", "schilders", "een huis te schilderen"},
                                          {"metselaar", "metselaars", "een muur te metselen"},
                                          {"verhuizer", "verhuizers", "een kantoor te verhuizen"},
                                          {"tuinman", "tuinmannen", "een park op te knappen"}};
    const Job job = r.Pick(jobs);
    const int64_t w1 = level <= 1 ? r.Range(2, 6) : r.Range(3, 9);
    const int64_t d1 = level <= 1 ? r.Range(2, 12) : r.Range(4, 20);
    const int64_t w2 = level <= 1 ? r.Range(2, 8) : r.Range(2, 12);
    const F answer = F(w1 * d1, w2);
    if (w1 == w2 || !answer.IsInteger())
        return std::nullopt;
    TWord w;
    w.Tpl = "werk";
    Field(w, "workers", F(w1));
    Field(w, "days", F(d1));
    Field(w, "workers2", F(w2));
    w.Suffix = " dagen";
    w.Answer = answer;
    w.Question = std::to_string(w1) + " " + job.Many + " hebben samen " + std::to_string(d1) +
                 " dagen nodig om " + job.Task + ". Hoeveel dagen hebben " + std::to_string(w2) +
                 " " + job.Many + " daarvoor nodig, als iedereen even hard werkt?";
    w.How = "Het werk kost in totaal " + std::to_string(w1) + " x " + std::to_string(d1) + " = " +
            std::to_string(w1 * d1) + " dagen voor één " + job.One + ". Met " + std::to_string(w2) +
            " " + job.Many + " duurt het dus " + std::to_string(w1 * d1) + " : " +
            std::to_string(w2) + " = <b>" + Dutch(answer) + "</b> dagen ({antwoord}).";
    const bool more = w2 > w1;
    w.Tempting = {
        {F(d1 * w2, w1), std::string("Wie denkt dat ") + (more ? "meer " : "minder ") + job.Many +
                             " ook " + (more ? "meer" : "minder") + " dagen nodig hebben (" +
                             std::to_string(d1) + " x " + std::to_string(w2) + " : " +
                             std::to_string(w1) + "), kiest {}, maar met " +
                             (more ? "meer mensen gaat het juist sneller."
                                   : "minder mensen duurt het juist langer.")},
        {F(w1 * d1), std::string("{} is het aantal dagen dat één ") + job.One +
                         " erover zou doen, niet " + std::to_string(w2) + " " + job.Many + "."},
    };
    w.Near = {F(1), F(-1), F(2), F(-2), F(3)};
    return w;
}

std::optional<TWord> Samen(TRandom& r, int level) {
    struct Pair {
        const char* First;
        const char* Second;
        const char* Work;     // "het veld maaien"
        const char* Question; // with {1} and {2} for the times
    };
    static const std::vector<Pair> pairs = {
        {"Anna", "Bram", "het veld maaien",
         "Anna maait het gras van een sportveld in {1} minuten. Bram doet er met een kleinere "
         "maaier {2} minuten over. Hoe lang doen ze erover als ze samen maaien, ieder met een "
         "eigen maaier?"},
        {"de eerste kraan", "de tweede", "het bad vullen",
         "Een kraan vult een bad in {1} minuten, een tweede kraan doet dat in {2} minuten. Hoe "
         "lang duurt het om het bad te vullen als beide kranen tegelijk openstaan?"},
        {"printer A", "printer B", "de stapel afdrukken",
         "Printer A drukt een stapel folders af in {1} minuten, printer B in {2} minuten. Hoe lang "
         "duurt het als beide printers samen de stapel afdrukken?"},
    };
    const Pair pair = r.Pick(pairs);
    const int64_t t1 = r.Range(2, level <= 3 ? 12 : 24) * 5;
    const int64_t t2 = r.Range(2, level <= 3 ? 12 : 24) * 5;
    if (t1 >= t2 || (t1 * t2) % (t1 + t2) != 0)
        return std::nullopt;
    const int64_t lcm = std::lcm(t1, t2);
    if (lcm > 240)
        return std::nullopt;
    const int64_t n1 = lcm / t1;
    const int64_t n2 = lcm / t2;
    TWord w;
    w.Tpl = "samen";
    Field(w, "time1", F(t1));
    Field(w, "time2", F(t2));
    w.Suffix = " minuten";
    w.Answer = F(t1 * t2, t1 + t2);
    std::string question = pair.Question;
    question.replace(question.find("{1}"), 3, std::to_string(t1));
    question.replace(question.find("{2}"), 3, std::to_string(t2));
    w.Question = question;
    w.How = "In " + std::to_string(lcm) + " minuten kan " + pair.First + " " + std::to_string(n1) +
            " keer " + pair.Work + " en " + pair.Second + " " + std::to_string(n2) +
            " keer; samen is dat " + std::to_string(n1 + n2) + " keer. Eén keer kost samen dus " +
            std::to_string(lcm) + " : " + std::to_string(n1 + n2) + " = <b>" + Dutch(w.Answer) +
            "</b> minuten ({antwoord}).";
    w.Tempting = {
        {F(t1 + t2, 2), "Wie het gemiddelde van " + std::to_string(t1) + " en " +
                            std::to_string(t2) +
                            " minuten neemt, kiest {}, maar samen gaat het sneller dan ieder "
                            "alleen."},
        {F(t1 + t2), "Wie de tijden optelt, kiest {}, maar dan werken ze na elkaar in plaats van "
                     "tegelijk."},
        {F(t1, 2), "Wie de snelste tijd halveert, kiest {}, maar dat klopt alleen als beide even "
                   "snel zijn."},
    };
    w.Near = {F(1), F(-1), F(2), F(-2), F(5)};
    return w;
}

std::optional<TWord> Snelheid(TRandom& r, int level) {
    struct Mover {
        const char* Subject;
        const char* Verb;
        int64_t Low, High;
    };
    static const std::vector<Mover> movers = {{"Een fietser", "legt", 12, 30},
                                              {"Een hardloopster", "loopt", 8, 16},
                                              {"Een trein", "rijdt", 60, 150}};
    const Mover m = r.Pick(movers);
    const int64_t minutes = level <= 1 ? r.Pick(std::vector<int64_t>{20, 25, 30, 40, 50})
                                       : r.Pick(std::vector<int64_t>{12, 15, 24, 36, 45, 48});
    const int64_t speed = r.Range(m.Low, m.High);
    const F km = F(speed * minutes, 60);
    // The classic slip reads the minutes as hundredths of an hour; only
    // numbers where that slip gives a clean value make it a real choice.
    const F slip = km * F(100) / F(minutes);
    if (!(km * F(10)).IsInteger() || !(slip * F(10)).IsInteger())
        return std::nullopt;
    TWord w;
    w.Tpl = "snelheid";
    Field(w, "km", km);
    Field(w, "minutes", F(minutes));
    w.Suffix = " km per uur";
    w.Answer = F(speed);
    w.Question = std::string(m.Subject) + " " + m.Verb + " " + Dutch(km) + " km" +
                 (std::string(m.Verb) == "legt" ? " af" : "") + " in " + std::to_string(minutes) +
                 " minuten. Wat is de gemiddelde snelheid in kilometer per uur?";
    w.How = "Een uur heeft 60 minuten. In " + std::to_string(minutes) + " minuten gaat het om " +
            Dutch(km) + " km, dus in 60 minuten om " + Dutch(km) +
            " x 60 : " + std::to_string(minutes) + " = <b>" + Dutch(w.Answer) +
            "</b> km. De gemiddelde snelheid is dus " + Dutch(w.Answer) +
            " km per uur ({antwoord}).";
    w.Tempting = {
        {slip, "Wie " + std::to_string(minutes) + " minuten leest als " + Dutch(F(minutes, 100)) +
                   " uur, kiest {}, maar een uur heeft 60 minuten, niet 100."},
        {km, "{} is de afstand, niet de snelheid per uur."},
    };
    w.Near = {F(2), F(-2), F(5), F(-5), F(1)};
    return w;
}

std::optional<TWord> Tijd(TRandom& r, int) {
    const int64_t speed = r.Pick(std::vector<int64_t>{40, 50, 60, 80, 90, 100, 120});
    const int64_t hours = r.Range(1, 3);
    const int64_t extra = r.Pick(std::vector<int64_t>{12, 15, 24, 30});
    const int64_t total = hours * 60 + extra;
    const F km = F(speed * total, 60);
    if (!km.IsInteger())
        return std::nullopt;
    const TPerson& p = r.Pick(People());
    const F decimalHours = F(total, 60);
    const F fraction = F(extra, 60);
    TWord w;
    w.Tpl = "tijd";
    Field(w, "km", km);
    Field(w, "speed", F(speed));
    w.Show = TShow::Duration;
    w.Answer = F(total);
    w.Question = std::string(p.Name) + " rijdt " + Dutch(km) +
                 " km met een gemiddelde snelheid van " + std::to_string(speed) +
                 " km per uur. Hoe lang doet " + p.He + " over de rit?";
    w.How = Dutch(km) + " : " + std::to_string(speed) + " = " + Dutch(decimalHours) +
            " uur. Let op: " + Dutch(fraction) + " uur is geen " + Dutch(fraction * F(100)) +
            " minuten, maar " + Dutch(fraction) + " x 60 = " + std::to_string(extra) +
            " minuten. De rit duurt dus <b>" + Duration(F(total)) + "</b> ({antwoord}).";
    w.Tempting = {
        {F(hours * 60) + fraction * F(100), "Wie " + Dutch(decimalHours) + " uur leest als " +
                                                Duration(F(hours * 60) + fraction * F(100)) +
                                                ", kiest {}."},
        {F(hours * 60), "{} is te kort: de " + std::to_string(extra) +
                            " minuten na het hele uur "
                            "zijn vergeten."},
    };
    w.Near = {F(30), F(-30), F(60), F(-60), F(15)};
    return w;
}

std::optional<TWord> GemSnelheid(TRandom& r, int level) {
    static const std::vector<const char*> towns = {"Utrecht", "Zwolle", "Groningen",
                                                   "Breda",   "Arnhem", "Leiden"};
    const bool car = level >= 4 || r.Chance(60);
    const int64_t v1 = car ? r.Range(4, 12) * 10 : r.Range(10, 30);
    const int64_t v2 = car ? r.Range(3, 10) * 10 : r.Range(8, 25);
    if (v1 <= v2 || (2 * v1 * v2) % (v1 + v2) != 0)
        return std::nullopt;
    const int64_t lcm = std::lcm(v1, v2);
    const int64_t km = lcm * r.Range(1, 3);
    if (km > (car ? 360 : 90))
        return std::nullopt;
    const TPerson& p = r.Pick(People());
    TWord w;
    w.Tpl = "gemsnelheid";
    Field(w, "km", F(km));
    Field(w, "speed1", F(v1));
    Field(w, "speed2", F(v2));
    w.Suffix = " km per uur";
    w.Answer = F(2 * v1 * v2, v1 + v2);
    const int64_t t1 = km / v1;
    const int64_t t2 = km / v2;
    w.Question = std::string(p.Name) + (car ? " rijdt met de auto " : " fietst ") +
                 std::to_string(km) + " km naar " + r.Pick(towns) +
                 ", met een gemiddelde snelheid van " + std::to_string(v1) +
                 " km per uur. Over dezelfde weg terug haalt " + p.He + " gemiddeld maar " +
                 std::to_string(v2) +
                 " km per uur. Wat is de gemiddelde snelheid over de hele rit, heen en terug?";
    w.How = "Heen duurt " + std::to_string(km) + " : " + std::to_string(v1) + " = " +
            std::to_string(t1) + " uur, terug " + std::to_string(km) + " : " + std::to_string(v2) +
            " = " + std::to_string(t2) + " uur. In totaal legt " + p.He + " " +
            std::to_string(2 * km) + " km af in " + std::to_string(t1 + t2) +
            " uur, dus gemiddeld " + std::to_string(2 * km) + " : " + std::to_string(t1 + t2) +
            " = <b>" + Dutch(w.Answer) + "</b> km per uur ({antwoord}).";
    w.Tempting = {
        {F(v1 + v2, 2), "Wie gewoon het gemiddelde van " + std::to_string(v1) + " en " +
                            std::to_string(v2) +
                            " neemt, kiest {}, maar over de langzame "
                            "terugweg doet " +
                            p.He + " langer, zodat die zwaarder meetelt."},
        {F(v1 - v2), "{} is het verschil tussen de twee snelheden, geen gemiddelde."},
    };
    w.Near = {F(2), F(-2), F(4), F(-4), F(1)};
    return w;
}

// --- ages, mixtures and averages -------------------------------------------------

struct TFamily {
    const char* Pair;    // "Een moeder en haar dochter"
    const char* Older;   // "de moeder"
    const char* Younger; // "de dochter"
    const char* OlderHe;
    const char* YoungerHe; // "zij" / "hij" after "zo oud als"
};

const std::vector<TFamily>& Families() {
    static const std::vector<TFamily> families = {
        {"Een moeder en haar dochter", "de moeder", "de dochter", "zij", "zij"},
        {"Een vader en zijn zoon", "de vader", "de zoon", "hij", "hij"},
        {"Een moeder en haar zoon", "de moeder", "de zoon", "zij", "hij"},
        {"Een vader en zijn dochter", "de vader", "de dochter", "hij", "zij"},
    };
    return families;
}

std::optional<TWord> Leeftijd(TRandom& r, int level) {
    const TFamily& f = r.Pick(Families());
    const int64_t child = r.Range(3, level == 0 ? 12 : 18);
    const int64_t diff = r.Range(20, 36);
    const int64_t sum = 2 * child + diff;
    TWord w;
    w.Tpl = "leeftijd";
    w.Whole = true;
    Field(w, "sum", F(sum));
    Field(w, "diff", F(diff));
    w.Suffix = " jaar";
    w.Answer = F(child);
    w.Question = std::string(f.Pair) + " zijn samen " + std::to_string(sum) + " jaar oud. " +
                 Cap(f.Older) + " is " + std::to_string(diff) + " jaar ouder dan " + f.Younger +
                 ". Hoe oud is " + f.Younger + "?";
    w.How = "Haal eerst het verschil van het totaal af: " + std::to_string(sum) + " - " +
            std::to_string(diff) + " = " + std::to_string(sum - diff) +
            ". Dat is twee keer de leeftijd van " + f.Younger + ", dus " + f.Younger + " is " +
            std::to_string(sum - diff) + " : 2 = <b>" + std::to_string(child) +
            "</b> jaar ({antwoord}). Controle: " + f.Older + " is dan " +
            std::to_string(child + diff) + " en samen zijn ze " + std::to_string(sum) + ".";
    w.Tempting = {
        {F(sum - diff), "Wie alleen het verschil van het totaal aftrekt, kiest {}, maar vergeet "
                        "dan te halveren."},
        {F(child + diff), "{} is de leeftijd van " + std::string(f.Older) + "."},
        {F(sum, 2), "Wie het totaal gewoon door twee deelt, kiest {}, maar dan zouden ze even oud "
                    "zijn."},
    };
    w.Near = {F(1), F(-1), F(2), F(-2), F(5)};
    return w;
}

std::optional<TWord> Leeftijd2(TRandom& r, int) {
    const TFamily& f = r.Pick(Families());
    const int64_t times = r.Range(3, 6);
    const int64_t times2 = r.Range(2, 3);
    const int64_t child = r.Range(3, 15);
    if (times2 >= times || (child * (times - times2)) % (times2 - 1) != 0)
        return std::nullopt;
    const int64_t years = child * (times - times2) / (times2 - 1);
    const int64_t parent = times * child;
    if (years < 2 || years > 30 || parent < 22 || parent > 60)
        return std::nullopt;
    const std::string older = std::string(f.Older).substr(3); // "moeder"
    const std::string younger = std::string(f.Younger).substr(3);
    const auto coef = [](int64_t c) { return c == 1 ? std::string("z") : std::to_string(c) + "z"; };
    TWord w;
    w.Tpl = "leeftijd2";
    w.Whole = true;
    Field(w, "times", F(times));
    Field(w, "years", F(years));
    Field(w, "times2", F(times2));
    w.Suffix = " jaar";
    w.Answer = F(child);
    const std::string possessive = std::string(f.OlderHe) == "zij" ? "haar" : "zijn";
    w.Question = "Een " + older + " is nu " + std::to_string(times) + " keer zo oud als " +
                 possessive + " " + younger + ". Over " + std::to_string(years) + " jaar is " +
                 f.OlderHe + " nog maar " + std::to_string(times2) + " keer zo oud als " +
                 f.YoungerHe + ". Hoe oud is de " + younger + " nu?";
    w.How = "Noem de leeftijd van de " + younger + " nu z; de " + older + " is dan " + coef(times) +
            ". Over " + std::to_string(years) + " jaar is de " + younger + " z + " +
            std::to_string(years) + " en de " + older + " " + coef(times) + " + " +
            std::to_string(years) + ", en dat is " + std::to_string(times2) + " x (z + " +
            std::to_string(years) + ") = " + coef(times2) + " + " + std::to_string(times2 * years) +
            ". Dus " + coef(times - times2) + " = " + std::to_string(times2 * years) + " - " +
            std::to_string(years) + " = " + std::to_string((times2 - 1) * years) + " en z = <b>" +
            std::to_string(child) + "</b> ({antwoord}). Controle: nu " + std::to_string(child) +
            " en " + std::to_string(parent) + "; over " + std::to_string(years) + " jaar " +
            std::to_string(child + years) + " en " + std::to_string(parent + years) + ", en " +
            std::to_string(parent + years) + " = " + std::to_string(times2) + " x " +
            std::to_string(child + years) + ".";
    w.Tempting = {
        {F(parent), "{} is de leeftijd van de " + older + ", niet van de " + younger + "."},
        {F(child + years),
         "{} is de leeftijd van de " + younger + " over " + std::to_string(years) + " jaar."},
    };
    w.Near = {F(1), F(-1), F(2), F(-2), F(3)};
    return w;
}

std::optional<TWord> Mengen(TRandom& r, int level) {
    struct Mix {
        const char* Question; // {1} {2} ratio, {t} total
        const char* First;    // "siroop"
        const char* Second;   // "water"
        const char* Unit;     // " ml"
        int64_t Portion;      // one part is a multiple of this
    };
    static const std::vector<Mix> mixes = {
        {"Limonade maakt u van siroop en water in de verhouding {1} : {2}. Hoeveel ml siroop zit "
         "er in {t} ml limonade?",
         "siroop", "water", " ml", 50},
        {"Voor metselspecie mengt u cement en zand in de verhouding {1} : {2}. Hoeveel kilo "
         "cement zit er in {t} kilo specie?",
         "cement", "zand", " kilo", 5},
        {"Voor groene verf mengt u blauwe en gele verf in de verhouding {1} : {2}. Hoeveel liter "
         "blauwe verf zit er in {t} liter groene verf?",
         "blauwe verf", "gele verf", " liter", 1},
    };
    const Mix m = r.Pick(mixes);
    const int64_t p1 = r.Range(1, level <= 1 ? 2 : 3);
    const int64_t p2 = r.Range(p1 + 1, 6);
    if (std::gcd(p1, p2) != 1)
        return std::nullopt;
    const int64_t portion = m.Portion * r.Range(1, 8);
    const int64_t total = portion * (p1 + p2);
    TWord w;
    w.Tpl = "mengen";
    Field(w, "part1", F(p1));
    Field(w, "part2", F(p2));
    Field(w, "total", F(total));
    w.Suffix = m.Unit;
    w.Answer = F(portion * p1);
    std::string q = m.Question;
    q.replace(q.find("{1}"), 3, std::to_string(p1));
    q.replace(q.find("{2}"), 3, std::to_string(p2));
    q.replace(q.find("{t}"), 3, std::to_string(total));
    w.Question = q;
    const std::string parts = p1 == 1 ? "één deel " + std::string(m.First) + " is"
                                      : std::to_string(p1) + " delen " + m.First + " zijn";
    w.How = "De verhouding " + std::to_string(p1) + " : " + std::to_string(p2) +
            " betekent dat van elke " + std::to_string(p1 + p2) + " delen er " + parts +
            ". Eén deel is " + std::to_string(total) + " : " + std::to_string(p1 + p2) + " = " +
            std::to_string(portion) + m.Unit + ", dus er zit " + std::to_string(p1) + " x " +
            std::to_string(portion) + " = <b>" + std::to_string(portion * p1) + "</b>" + m.Unit +
            " " + m.First + " in ({antwoord}).";
    w.Tempting = {
        {F(total * p1, p2), "Wie " + std::to_string(p1) + " : " + std::to_string(p2) +
                                " leest als " + std::to_string(p1) + "/" + std::to_string(p2) +
                                " deel van het geheel, kiest {}, maar het geheel bestaat uit " +
                                std::to_string(p1 + p2) + " delen."},
        {F(portion * p2), "{} is de hoeveelheid " + std::string(m.Second) + "."},
    };
    w.Near = {F(m.Portion), F(-m.Portion), F(2 * m.Portion), F(-2 * m.Portion)};
    return w;
}

std::optional<TWord> Mengen2(TRandom& r, int) {
    const int64_t v1 = r.Range(1, 8) * 10;
    const int64_t v2 = r.Range(1, 8) * 10;
    const int64_t p1 = r.Range(1, 8) * 5;
    const int64_t p2 = r.Range(1, 8) * 5;
    if (v1 == v2 || p1 == p2)
        return std::nullopt;
    const F s1 = F(v1 * p1, 100);
    const F s2 = F(v2 * p2, 100);
    const F answer = (s1 + s2) / F(v1 + v2) * F(100);
    if (!(answer * F(10)).IsInteger() || !Short(s1) || !Short(s2))
        return std::nullopt;
    TWord w;
    w.Tpl = "mengen2";
    Field(w, "vol1", F(v1));
    Field(w, "pct1", F(p1));
    Field(w, "vol2", F(v2));
    Field(w, "pct2", F(p2));
    w.Show = TShow::Percent;
    w.Answer = answer;
    w.Question = "Een fabriek mengt " + std::to_string(v1) + " liter sap met " +
                 std::to_string(p1) + "% suiker met " + std::to_string(v2) + " liter sap met " +
                 std::to_string(p2) + "% suiker. Hoeveel procent suiker bevat het mengsel?";
    w.How = "In de eerste partij zit " + std::to_string(p1) + "% van " + std::to_string(v1) +
            " = " + Dutch(s1) + " liter suiker, in de tweede " + std::to_string(p2) + "% van " +
            std::to_string(v2) + " = " + Dutch(s2) + " liter. Samen is dat " + Dutch(s1 + s2) +
            " liter suiker in " + std::to_string(v1 + v2) + " liter sap: " + Dutch(s1 + s2) +
            " : " + std::to_string(v1 + v2) + " = " + Dutch(answer / F(100)) + ", en dat is <b>" +
            Pct(answer) + "</b> ({antwoord}).";
    const int64_t major = v1 > v2 ? p1 : p2;
    w.Tempting = {
        {F(p1 + p2, 2), "Wie gewoon het gemiddelde van " + std::to_string(p1) + "% en " +
                            std::to_string(p2) + "% neemt, kiest {}, maar er is meer sap met " +
                            std::to_string(major) + "% suiker, en dat telt zwaarder mee."},
        {F(p1 + p2), "Wie de percentages optelt, kiest {}."},
    };
    w.Near = {F(1), F(-1), F(2), F(-2), F(5, 2)};
    return w;
}

std::string Marks(const std::vector<int64_t>& v) {
    std::vector<std::string> items;
    for (int64_t x : v)
        items.push_back(std::to_string(x));
    return JoinAnd(items);
}

std::optional<TWord> Gemiddelde(TRandom& r, int level) {
    const TPerson& p = r.Pick(People());
    const std::size_t n = level == 0 ? 5 : std::size_t(r.Range(4, 5));
    std::vector<int64_t> v;
    int64_t sum = 0;
    for (std::size_t i = 0; i < n; ++i) {
        v.push_back(r.Range(4, 10));
        sum += v.back();
    }
    const F mean = F(sum, int64_t(n));
    std::vector<int64_t> sorted = v;
    std::sort(sorted.begin(), sorted.end());
    TWord w;
    w.Tpl = "gemiddelde";
    w.Grade = true;
    w.Fields = " values=";
    for (std::size_t i = 0; i < n; ++i)
        w.Fields += (i ? "," : "") + std::to_string(v[i]);
    w.Answer = mean;
    w.Question = std::string(p.Name) + " haalde voor " + (n == 5 ? "vijf" : "vier") +
                 " toetsen de cijfers " + Marks(v) + ". Wat is " + p.His + " gemiddelde cijfer?";
    std::string plus;
    for (std::size_t i = 0; i < n; ++i)
        plus += (i ? " + " : "") + std::to_string(v[i]);
    w.How = "Tel de cijfers op: " + plus + " = " + std::to_string(sum) +
            ". Deel dat door het aantal toetsen: " + std::to_string(sum) + " : " +
            std::to_string(n) + " = <b>" + Dutch(mean) + "</b> ({antwoord}).";
    w.Tempting = {
        {F(sum, int64_t(n) - 1), "Wie door " + std::to_string(n - 1) +
                                     " deelt in plaats van door " + std::to_string(n) +
                                     ", kiest {}."},
        {F(sorted.front() + sorted.back(), 2),
         "{} ligt midden tussen het laagste en het hoogste cijfer, maar de andere cijfers tellen "
         "ook mee."},
    };
    if (n % 2 == 1)
        w.Tempting.push_back({F(sorted[n / 2]), "{} is het middelste cijfer als u ze op volgorde "
                                                "zet, niet het gemiddelde."});
    w.Near = {F(1, 2), F(-1, 2), F(1), F(-1), F(1, 5)};
    return w;
}

std::optional<TWord> GemOntbreekt(TRandom& r, int) {
    const TPerson& p = r.Pick(People());
    std::vector<int64_t> v;
    int64_t sum = 0;
    for (int i = 0; i < 4; ++i) {
        v.push_back(r.Range(4, 9));
        sum += v.back();
    }
    const F mean = F(r.Range(12, 16), 2); // 6 ... 8 in halves
    const F answer = F(5) * mean - F(sum);
    if (answer < F(1) || F(10) < answer || answer == mean)
        return std::nullopt;
    TWord w;
    w.Tpl = "gemontbreekt";
    w.Grade = true;
    w.Fields = " values=";
    for (std::size_t i = 0; i < v.size(); ++i)
        w.Fields += (i ? "," : "") + std::to_string(v[i]);
    Field(w, "mean", mean);
    w.Answer = answer;
    w.Question =
        std::string(p.Name) + " heeft vier toetsen gemaakt en haalde daarvoor de cijfers " +
        Marks(v) + ". Welk cijfer moet " + p.He +
        " voor de vijfde toets halen om gemiddeld precies een " + Dutch(mean) + " te staan?";
    w.How = "Vijf toetsen met gemiddeld een " + Dutch(mean) + " leveren samen 5 x " + Dutch(mean) +
            " = " + Dutch(F(5) * mean) + " punten op. De eerste vier cijfers zijn samen " +
            std::to_string(sum) + ". De vijfde toets moet dus " + Dutch(F(5) * mean) + " - " +
            std::to_string(sum) + " = <b>" + Dutch(answer) + "</b> opleveren ({antwoord}).";
    const F gap = F(4) * mean - F(sum);
    w.Tempting = {
        {mean, "Wie denkt dat een " + Dutch(mean) +
                   " genoeg is, kiest {}, maar de eerste vier "
                   "cijfers zijn samen " +
                   Dutch(gap < F(0) ? F(0) - gap : gap) + " punten " +
                   (gap < F(0) ? "te hoog" : "te laag") + " voor dat gemiddelde."},
        {mean - gap, "Wie het verschil de verkeerde kant op verrekent, kiest {}."},
    };
    w.Near = {F(1, 2), F(-1, 2), F(1), F(-1)};
    return w;
}

std::optional<TWord> Gemiddelde2(TRandom& r, int) {
    const TPerson& p = r.Pick(People());
    const int64_t n = r.Range(3, 7);
    const F mean = F(r.Range(55, 75), 10);
    const F target = mean + F(r.Range(2, 6), 10);
    const F answer = F(n + 1) * target - F(n) * mean;
    if (F(10) < answer)
        return std::nullopt;
    TWord w;
    w.Tpl = "gemiddelde2";
    w.Grade = true;
    Field(w, "count", F(n));
    Field(w, "mean", mean);
    Field(w, "target", target);
    w.Answer = answer;
    w.Question = "Na " + std::to_string(n) + " toetsen staat " + p.Name + " gemiddeld een " +
                 Dutch(mean) + ". Welk cijfer moet " + p.He +
                 " voor de volgende toets halen om gemiddeld op een " + Dutch(target) +
                 " uit te komen?";
    w.How = "Nu heeft " + std::string(p.He) + " " + std::to_string(n) + " x " + Dutch(mean) +
            " = " + Dutch(F(n) * mean) + " punten. Voor gemiddeld een " + Dutch(target) + " over " +
            std::to_string(n + 1) + " toetsen zijn " + std::to_string(n + 1) + " x " +
            Dutch(target) + " = " + Dutch(F(n + 1) * target) +
            " punten nodig. De volgende toets moet dus " + Dutch(F(n + 1) * target) + " - " +
            Dutch(F(n) * mean) + " = <b>" + Dutch(answer) + "</b> opleveren ({antwoord}).";
    w.Tempting = {
        {target + target - mean, "Wie denkt dat het cijfer net zo ver boven de " + Dutch(target) +
                                     " moet liggen als de " + Dutch(mean) +
                                     " eronder ligt, kiest {}, maar de " + std::to_string(n) +
                                     " eerdere toetsen tellen allemaal mee."},
        {target,
         "Wie {} kiest, vergeet dat het gemiddelde dan onder de " + Dutch(target) + " blijft."},
    };
    w.Near = {F(1, 2), F(-1, 2), F(1, 5), F(-1, 5), F(1)};
    return w;
}

std::optional<TWord> Draft(TRandom& r, const std::string& tpl, int level) {
    if (tpl == "prijs")
        return Prijs(r, level);
    if (tpl == "korting")
        return Korting(r, level);
    if (tpl == "korting2")
        return Korting2(r, level);
    if (tpl == "terug")
        return Terug(r, level);
    if (tpl == "procent")
        return Procent(r, level, false);
    if (tpl == "procentrest")
        return Procent(r, level, true);
    if (tpl == "procent2")
        return Procent2(r, level);
    if (tpl == "werk")
        return Werk(r, level);
    if (tpl == "samen")
        return Samen(r, level);
    if (tpl == "snelheid")
        return Snelheid(r, level);
    if (tpl == "tijd")
        return Tijd(r, level);
    if (tpl == "gemsnelheid")
        return GemSnelheid(r, level);
    if (tpl == "leeftijd")
        return Leeftijd(r, level);
    if (tpl == "leeftijd2")
        return Leeftijd2(r, level);
    if (tpl == "mengen")
        return Mengen(r, level);
    if (tpl == "mengen2")
        return Mengen2(r, level);
    if (tpl == "gemiddelde")
        return Gemiddelde(r, level);
    if (tpl == "gemontbreekt")
        return GemOntbreekt(r, level);
    if (tpl == "gemiddelde2")
        return Gemiddelde2(r, level);
    throw std::logic_error("unknown word problem template " + tpl);
}

// A value a reader can be offered: positive, and short enough to show.
bool Showable(const TWord& w, F v) {
    if (!v.Valid() || !(F(0) < v))
        return false;
    if (w.Show == TShow::Duration || w.Whole)
        return v.IsInteger();
    if (w.Grade && F(10) < v)
        return false;
    return Short(v);
}

TBankQuestion MakeQuestion(TRandom& r, const std::string& tpl, int level, TTier tier,
                           std::set<std::string>& used) {
    for (int attempt = 0; attempt < 5000; ++attempt) {
        const std::optional<TWord> draft = Draft(r, tpl, level);
        if (!draft || !Showable(*draft, draft->Answer) || used.count(draft->Fields))
            continue;
        const TWord& w = *draft;
        std::vector<TOption> candidates;
        for (const auto& [value, why] : w.Tempting)
            if (Showable(w, value) && !(value == w.Answer))
                candidates.push_back({Show(w, value), value.ToDecimal(), why});
        for (const F& delta : w.Near) {
            const F value = w.Answer + delta;
            if (Showable(w, value) && !(value == w.Answer))
                candidates.push_back({Show(w, value), value.ToDecimal(), ""});
        }
        const std::size_t count = tier == TTier::Easy ? 4 : 5;
        const TArranged choices =
            Arrange(r, {Show(w, w.Answer), w.Answer.ToDecimal(), ""}, candidates, count);
        if (choices.Options.size() != count || !choices.HasReason())
            continue;
        used.insert(w.Fields);
        TBankQuestion q;
        q.Text = w.Question + "\n\n" + choices.Lines();
        q.Answer = std::string(1, choices.KeyLetter());
        q.Explanation = choices.WithKey(w.How) + choices.WrongNotes(2);
        q.Rule = std::string("word level=") + TierName(tier) + " tpl=" + w.Tpl + w.Fields + " " +
                 choices.RuleFields();
        return q;
    }
    throw std::runtime_error("no word problem from template " + tpl);
}

const std::vector<std::string>& Pool(int level) {
    static const std::vector<std::string> pools[5] = {
        {"prijs", "korting", "procent", "leeftijd", "gemiddelde"},
        {"prijs", "korting", "procentrest", "werk", "snelheid", "mengen", "leeftijd", "gemiddelde"},
        {"werk", "snelheid", "tijd", "mengen", "gemontbreekt", "procentrest", "terug"},
        {"korting2", "terug", "samen", "gemsnelheid", "gemiddelde2", "leeftijd2", "procent2"},
        {"samen", "gemsnelheid", "mengen2", "leeftijd2", "procent2", "korting2", "gemiddelde2"},
    };
    return pools[level];
}

} // namespace

TBankGroup MakeWordProblemGroup(uint32_t seed) {
    TBankGroup group;
    group.FileName = "32-rekenvraagstukken";
    group.Code = "reke";
    group.Title = "Rekenvraagstukken";
    static const char* names[] = {"I", "II", "III"};
    static const int seconds[] = {60, 75, 90};
    const std::size_t count = 20;
    // Shared by the tests of the group: no series or problem twice.
    std::set<std::string> used;
    for (int t = 0; t < 3; ++t) {
        TRandom r(SubSeed(seed, 2, t));
        group.Tests.push_back(MakeTieredTest(
            r, t, std::string("Rekenvraagstukken ") + names[t],
            "In deze test lost u rekenvraagstukken op: korte situaties met prijzen en korting, "
            "procenten, snelheid en tijd, werk, leeftijden, mengsels en gemiddelden. Lees elke "
            "vraag goed en reken het antwoord uit; pen en papier mogen erbij.",
            count, seconds[t], Pool, [&](const std::string& tpl, int level, TTier tier) {
                return MakeQuestion(r, tpl, level, tier, used);
            }));
    }
    return group;
}
