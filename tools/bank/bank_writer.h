#pragma once

#include <QImage>
#include <QString>
#include <string>
#include <string_view>
#include <vector>

// What the generators of the test bank make: groups of tests of questions in
// the readable content format (content/README.md), the pictures the
// questions show, and for every question the rule it was made from, so that
// `zenx-content check` can solve it again.

struct TBankQuestion {
    std::string Text;   // question page (UTF-8 markup), choices included
    std::string Answer; // correct answer, lower case
    int Points = 10;
    int AnswerLength = 1;
    std::string Explanation; // why the answer is right and the tempting one wrong
    std::string Rule;        // one line for the checker, "<kind> ..." (see bank_check.h)
};

struct TBankTest {
    std::string Number;       // three characters, e.g. "001"
    std::string Title;        // first line of the introduction
    std::string Introduction; // rest of the introduction (markup, without the title
                              // and without the start link: the writer adds both)
    std::vector<TBankQuestion> Questions;
};

struct TBankGroup {
    std::string FileName; // e.g. "30-getallenreeksen" (orders the groups)
    std::string Code;     // four characters
    std::string Title;
    std::vector<TBankTest> Tests;
};

// Writes OUT/db/<file>.txt, OUT/rules/<file>.rules and OUT/pictures/<name>.
class TBankWriter {
public:
    explicit TBankWriter(QString outDir);
    // False when the file could not be written.
    bool AddPicture(const QString& name, const QImage& image);
    bool AddGroup(const TBankGroup& group);
    const QString& OutDir() const { return outDir_; }

private:
    QString outDir_;
};

// The content source text of a group (what AddGroup writes to db/).
std::string GroupSourceText(const TBankGroup& group);
// Its rules: one line per question, "<QuestionKey>\t<answer>\t<rule>".
std::string GroupRulesText(const TBankGroup& group);
