#include "tools/content_check.h"

#include "exam/content_model.h"
#include "platform/ansi.h"
#include "recdb/record_index.h"
#include "tools/markup_scan.h"

#include <map>
#include <set>

namespace {

int LineOf(const TSourceRecord& rec, size_t offset) {
    int line = rec.BodyLine;
    for (size_t at = rec.Body.find("\r\n"); at != std::string::npos && at < offset;
         at = rec.Body.find("\r\n", at + 2))
        ++line;
    return line;
}

// What each choice link shows, pictures by the digest of their bytes, so
// that two files with the same picture count as the same choice.
std::vector<std::pair<std::string, std::string>>
ShownChoices(std::string_view body, const std::map<std::string, std::string>& digests) {
    std::vector<std::pair<std::string, std::string>> shown;
    for (const TLinkContent& link : LinkContents(body)) {
        std::string what = ShownChoice(link.Inner);
        if (what.rfind("img:", 0) == 0) {
            std::string byBytes;
            for (const TFoundName& picture : PictureNames(link.Inner)) {
                const auto it = digests.find(picture.Value);
                byBytes += (it == digests.end() ? picture.Value : it->second) + ";";
            }
            what = "img:" + byBytes;
        }
        shown.emplace_back(link.Target, what);
    }
    return shown;
}

} // namespace

void CheckContent(TContentSource& source, const std::vector<std::string>& pictures,
                  const std::map<std::string, std::string>& pictureDigests) {
    const std::set<std::string> pictureSet(pictures.begin(), pictures.end());
    std::set<std::pair<std::string, int>> reported; // directives with a syntax error already
    for (const TContentMessage& m : source.Messages)
        if (!m.Warning)
            reported.insert({m.File, m.Line});

    const auto& records = source.Records;
    std::vector<TRecordRole> roles(records.size());
    std::set<std::string> groups, tests;
    for (size_t i = 0; i < records.size(); ++i) {
        roles[i] = RecordRole(records[i].Key, i ? std::string_view(records[i - 1].Key) : "");
        const std::string code(SplitKey(records[i].Key).Part2);
        if (roles[i] == TRecordRole::GroupHeader)
            groups.insert(code.substr(0, 4));
        if (roles[i] == TRecordRole::TestHeader)
            tests.insert(code.substr(0, 7));
    }

    std::vector<TContentMessage> found;
    auto error = [&](const TSourceRecord& rec, int line, const std::string& text,
                     bool warning = false) {
        found.push_back({rec.File, line, text, warning});
    };
    std::set<std::string> questions;
    for (size_t i = 0; i < records.size(); ++i) {
        const TSourceRecord& rec = records[i];
        for (const TFoundName& picture : PictureNames(rec.Body))
            if (!pictureSet.count(picture.Value))
                error(rec, LineOf(rec, picture.Offset),
                      "picture '" + picture.Value + "' is not in the picture archive");

        const std::string entry = "0|" + std::string(SplitKey(rec.Key).Part2);
        if (roles[i] == TRecordRole::TestHeader) {
            bool startLink = false;
            for (const TFoundName& link : LinkTargets(rec.Body))
                startLink = startLink || link.Value.rfind("starttest", 0) == 0;
            if (!startLink)
                error(rec, rec.Line, "test introduction without a link to \"starttest\"");
        }
        if (roles[i] != TRecordRole::Question)
            continue;
        const std::string group(EntryGroup(entry));
        const std::string test = group + std::string(EntryTest(entry));
        if (!groups.count(group))
            error(rec, rec.Line, "group " + group + " has no header (@groep)");
        if (!tests.count(test))
            error(rec, rec.Line, "test " + test + " has no header (@test)");
        if (!questions.insert(std::string(EntryColumns(entry, 1, 10))).second)
            error(rec, rec.Line,
                  "question " + std::string(EntryColumns(entry, 1, 10)) + " is defined twice");
        if (i + 1 >= records.size() || roles[i + 1] != TRecordRole::Explanation)
            error(rec, rec.Line, "question without explanation (@uitleg)");
        {
            std::map<std::string, std::string> seen; // what is shown -> target
            for (const auto& [target, shown] : ShownChoices(rec.Body, pictureDigests)) {
                if (target == "starttest")
                    continue;
                if (shown.empty()) {
                    // A bare "a)" beside a picture: only the small label can be clicked.
                    error(rec, rec.Line,
                          "choice '" + target +
                              "' shows nothing but its label; put what it chooses inside the link");
                    continue;
                }
                const auto [it, fresh] = seen.emplace(shown, target);
                if (!fresh && it->second != target)
                    error(rec, rec.Line,
                          "choices '" + it->second + "' and '" + target + "' show the same");
            }
        }
        if (reported.count({rec.File, rec.Line}))
            continue;
        const int points = StrToIntDef(EntryPoints(entry), -1);
        const int length = StrToIntDef(EntryAnswerLength(entry), -1);
        if (points < 0)
            error(rec, rec.Line, "question without points");
        if (length < 1)
            error(rec, rec.Line, "question without answer length");
        else if (length == 1 && HasCheckBox(rec.Body))
            error(rec, rec.Line,
                  "a question answered with one click has check boxes: a second tick keeps "
                  "the first one ticked while only the last counts; use links or radio buttons");
        else if (const std::string answer(EntryAnswer(entry));
                 answer.find('<') != std::string::npos)
            error(rec, rec.Line, "the correct answer cannot hold '<': a stored answer ends there");
        else if (plat::AnsiLower(answer) != answer)
            error(rec, rec.Line,
                  "the correct answer '" + answer +
                      "' must be in lower case: choices arrive in lower case");
        else if (!CanBeAnswered(QuestionChoices(rec.Body), answer, length))
            error(rec, rec.Line,
                  "the correct answer '" + answer +
                      "' cannot be given with the choices of this question");
    }
    source.Messages.insert(source.Messages.end(), found.begin(), found.end());
}
