#pragma once

#include "server/participant.h"

#include <QString>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

class TTestContent;

// The correct answer of every question of the installation's record
// database, looked up by question key without regard to letter case (as the
// program reads its stored answers). Built once; read by many threads.
class TAnswerKey {
public:
    TAnswerKey() = default;
    // Every question the catalogue lists, in its order.
    explicit TAnswerKey(const TTestContent& content);

    // Loads D\IDbRecs.dat of a program directory. Empty when there is none
    // or it holds no question.
    static TAnswerKey FromContentDir(const QString& dir);

    // A stored value judged against its question; nothing for a key the
    // database does not know.
    std::optional<TStoredAnswer> Judge(std::string_view questionKey,
                                       std::string_view storedValue) const;

    std::size_t size() const { return questions_.size(); }
    bool empty() const { return questions_.empty(); }

private:
    struct Question {
        std::string Key;     // as the database spells it
        std::string Correct; // compared character for character
    };
    std::unordered_map<std::string, Question> questions_; // folded key
};
