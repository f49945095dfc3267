#include "server/answer_key.h"

#include "exam/answer_value.h"
#include "exam/content_model.h"
#include "platform/ansi.h"
#include "platform/paths.h"
#include "recdb/db_rec_file.h"
#include "recdb/record_index.h"

#include <QFileInfo>

namespace {

constexpr std::size_t kMaxShortString = 255;

} // namespace

TAnswerKey::TAnswerKey(const TTestContent& content) {
    for (int g = 1; g <= content.GroupCount(); ++g) {
        const std::string group = content.GroupCodeAt(g);
        for (int t = 1; t <= content.TestCount(group); ++t) {
            const std::string test = TestKey(group, content.TestAt(group, t));
            for (int q = 1; q <= content.QuestionCount(test); ++q) {
                const TQuestionInfo info = content.Question(test, q);
                if (!info.Key.empty())
                    questions_.try_emplace(plat::AnsiUpper(info.Key),
                                           Question{info.Key, info.Answer});
            }
        }
    }
}

TAnswerKey TAnswerKey::FromContentDir(const QString& dir) {
    const QString path = plat::ResolvePath("D\\IDbRecs.dat", dir);
    if (!QFileInfo(path).isFile())
        return {};
    TiDbRecFile db;
    db.LoadFromFile(path);
    db.ActivateAll();
    TRecordIndex index;
    db.BuildTestIndex(index);
    return TAnswerKey(TTestContent(db, index));
}

std::optional<TStoredAnswer> TAnswerKey::Judge(std::string_view questionKey,
                                               std::string_view storedValue) const {
    const auto it = questions_.find(plat::AnsiUpper(questionKey));
    if (it == questions_.end())
        return std::nullopt;
    TStoredAnswer answer;
    answer.QuestionKey = it->second.Key;
    answer.Answer = std::string(AnswerPart(storedValue).substr(0, kMaxShortString));
    answer.Right = AnswerIsRight(storedValue, it->second.Correct);
    answer.Ms = AnswerMs(storedValue);
    answer.Date = AnswerDate(storedValue);
    return answer;
}
