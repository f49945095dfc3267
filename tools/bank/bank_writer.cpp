#include "tools/bank/bank_writer.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace {

bool WriteText(const QString& path, const std::string& text) {
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) &&
           file.write(text.data(), qint64(text.size())) == qint64(text.size()) && file.commit();
}

// A body line that the source reader would take for a directive, comment or
// escape gets the escape in front.
std::string Escaped(const std::string& body) {
    std::string out;
    std::size_t start = 0;
    while (start <= body.size()) {
        const std::size_t end = body.find('\n', start);
        const std::string line =
            body.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!line.empty() && (line[0] == '@' || line[0] == '#' || line[0] == '\\'))
            out += '\\';
        out += line;
        if (end == std::string::npos)
            break;
        out += '\n';
        start = end + 1;
    }
    return out;
}

std::string QuestionNumber(std::size_t index) {
    char number[24];
    std::snprintf(number, sizeof number, "%03zu", index + 1);
    return number;
}

} // namespace

TBankWriter::TBankWriter(QString outDir) : outDir_(std::move(outDir)) {}

bool TBankWriter::AddPicture(const QString& name, const QImage& image) {
    const QString path = outDir_ + "/pictures/" + name;
    return QDir().mkpath(QFileInfo(path).absolutePath()) && image.save(path, "PNG");
}

bool TBankWriter::AddGroup(const TBankGroup& group) {
    const QString base = QString::fromStdString(group.FileName);
    return WriteText(outDir_ + "/db/" + base + ".txt", GroupSourceText(group)) &&
           WriteText(outDir_ + "/rules/" + base + ".rules", GroupRulesText(group));
}

std::string GroupSourceText(const TBankGroup& group) {
    std::string text = "# Made by zenx-bankgen; edit the generator, not this file.\n\n";
    text += "@groep " + group.Code + "\n" + group.Title + "\n\n";
    for (const TBankTest& test : group.Tests) {
        text += "@test " + test.Number + "\n" + test.Title + "\n";
        text += Escaped(test.Introduction) + "\n\n<a href=\"starttest\">Start de test</a>\n\n";
        for (std::size_t q = 0; q < test.Questions.size(); ++q) {
            const TBankQuestion& question = test.Questions[q];
            text += "@vraag " + QuestionNumber(q) + " punten=" + std::to_string(question.Points) +
                    " lengte=" + std::to_string(question.AnswerLength) +
                    " antwoord=" + question.Answer + "\n";
            text +=
                Escaped(question.Text) + "\n\n@uitleg\n" + Escaped(question.Explanation) + "\n\n";
        }
    }
    return text;
}

std::string GroupRulesText(const TBankGroup& group) {
    std::string text;
    for (const TBankTest& test : group.Tests)
        for (std::size_t q = 0; q < test.Questions.size(); ++q)
            text += group.Code + test.Number + QuestionNumber(q) + "\t" + test.Questions[q].Answer +
                    "\t" + test.Questions[q].Rule + "\n";
    return text;
}
