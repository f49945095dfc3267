// libFuzzer target for what the exchange server reads from an upload: the
// users of a users.dat and the participants made of them against a small
// answer key. Whatever arrives, every name must be one the program could log
// on with, names must differ without regard to case, and every answer kept
// must belong to a question of the key, once per participant; line ends and
// a byte order mark change nothing.
#include "exam/content_model.h"
#include "platform/ansi.h"
#include "recdb/db_rec_file.h"
#include "recdb/record_index.h"
#include "server/answer_key.h"
#include "server/exchange_service.h"
#include "server/store.h"
#include "server/upload_parser.h"
#include "tests/recdb/db_bytes.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <unordered_set>

namespace {

constexpr std::size_t kMaxShortString = 255;
constexpr double kLastDay = 2958466; // 31 December 9999 ends before this

// Two tests of one group; the answers are "ac", "b", "c", "" and "a".
TAnswerKey MakeKey() {
    static TiDbRecFile db;
    static TRecordIndex index;
    db.LoadFromBytes(dbtest::File({
        {"Test|getl00000000000", "Getallen"},
        {"Test|getl00100000000", "Reeksen <a href=\"starttest\">Start</a>"},
        {"Test|getl00100101002ac", "<a href=\"a\">a</a> <a href=\"c\">c</a>"},
        {"Test|getl00100201001b", "<a href=\"a\">a</a> <a href=\"b\">b</a>"},
        {"Test|getl00100301001c", "<a href=\"b\">b</a> <a href=\"c\">c</a>"},
        {"Test|getl00200000000", "Blind <a href=\"starttest\">Start</a>"},
        {"Test|getl00200101000", "Kijk alleen"},
        {"Test|getl00200201001a", "Laatste <a href=\"a\">a</a>"},
    }));
    db.ActivateAll();
    db.BuildTestIndex(index);
    TAnswerKey key(TTestContent(db, index));
    if (key.size() != 5)
        std::abort(); // the harness itself is broken
    return key;
}

// Only Participants is used, which never touches the store.
class NoStore : public TExchangeStore {
public:
    void ReplaceParticipants(const std::vector<TParticipant>&) override { std::abort(); }
    TCounterTable ReadCounters() override { std::abort(); }
    TCounterTable Recount() override { std::abort(); }
    int64_t Generation() override { std::abort(); }
    int64_t ParticipantCount() override { std::abort(); }
    int64_t AnswerCount() override { std::abort(); }
    TParticipant ReadParticipant(const std::string&) override { std::abort(); }
    std::string ClaimSecretFingerprint(const std::string&) override { std::abort(); }
};

bool IsValidName(std::string_view name) {
    return !name.empty() && name.size() <= kMaxShortString &&
           std::any_of(name.begin(), name.end(), [](char c) {
               const auto u = static_cast<unsigned char>(c);
               return u >= 33 && u <= 125;
           });
}

void CheckUsers(const std::vector<TUploadedUser>& users) {
    std::unordered_set<std::string> folded;
    for (const TUploadedUser& user : users) {
        if (!IsValidName(user.Name) || !folded.insert(plat::AnsiUpper(user.Name)).second)
            std::abort();
        if (user.Uid.size() > kMaxShortString || user.Age < 0 || user.Age > 255)
            std::abort();
        for (const auto& [key, value] : user.Answers)
            if (value.empty())
                std::abort();
    }
}

void CheckParticipants(const TAnswerKey& key, const std::vector<TParticipant>& participants,
                       std::size_t userCount) {
    // Names differ, so every user is a participant of their own.
    if (participants.size() != userCount)
        std::abort();
    std::unordered_set<std::string> hashes;
    for (const TParticipant& p : participants) {
        if (p.Hash.size() != 64 || !hashes.insert(p.Hash).second)
            std::abort();
        std::unordered_set<std::string> questions;
        for (const TStoredAnswer& a : p.Answers) {
            const auto known = key.Judge(a.QuestionKey, a.Answer + "<");
            if (!known || known->QuestionKey != a.QuestionKey)
                std::abort();
            if (!questions.insert(plat::AnsiUpper(a.QuestionKey)).second)
                std::abort();
            if (a.Answer.size() > kMaxShortString || a.Answer.find('<') != std::string::npos)
                std::abort();
            // A cut answer may have lost what made it right; a whole one not.
            if (a.Answer.size() < kMaxShortString && known->Right != a.Right)
                std::abort();
            if (a.Ms < 0 || !std::isfinite(a.Date) || a.Date < 0 || a.Date >= kLastDay)
                std::abort();
        }
    }
}

// Line ends and a byte order mark are only how the file was saved: the
// normalised text holds neither and gives the same users.
void CheckNormalized(std::string_view body, const std::vector<TUploadedUser>& users) {
    const std::string normal = NormalizedLines(body);
    if (normal.find('\r') != std::string::npos || normal.size() > body.size())
        std::abort();
    // Only the first of two marks is one; the second is text.
    if (normal.starts_with("\xEF\xBB\xBF"))
        return;
    const std::vector<TUploadedUser> again = ParseUpload(normal);
    if (again.size() != users.size())
        std::abort();
    for (std::size_t i = 0; i < users.size(); ++i)
        if (again[i].Name != users[i].Name || again[i].Uid != users[i].Uid ||
            again[i].Female != users[i].Female || again[i].Age != users[i].Age ||
            again[i].Answers != users[i].Answers)
            std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const TAnswerKey key = MakeKey();
    static NoStore store;
    static const TExchangeService service(store, key, QByteArray(32, '\x5a'));

    const std::string_view body(reinterpret_cast<const char*>(data), size);
    const std::vector<TUploadedUser> users = ParseUpload(body);
    CheckUsers(users);
    CheckNormalized(body, users);
    CheckParticipants(key, service.Participants(body), users.size());
    return 0;
}
