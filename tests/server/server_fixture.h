#pragma once

#include "exam/content_model.h"
#include "server/answer_key.h"
#include "server/exchange_service.h"
#include "server/store.h"
#include "tests/recdb/db_bytes.h"

#include <QByteArray>
#include <QTemporaryDir>
#include <memory>
#include <string>
#include <utility>
#include <vector>

// A content directory with three questions and an exchange on a SQLite store
// of its own.
namespace servertest {

// reek001001: answer "c"; reek001002: "ab"; reek001003: "a".
inline const std::vector<std::pair<std::string, std::string>> kRecords = {
    {"Test|reek00000000000", "Reeksen"},
    {"Test|reek00100000000", "Getallen\r\n<a href=\"starttest\">Start</a>"},
    {"Test|reek00100101001c", "Vraag 1"},
    {"Test|reek00100201002ab", "Vraag 2"},
    {"Test|reek00100301001a", "Vraag 3"},
};

inline constexpr const char* kQ1 = "reek001001";
inline constexpr const char* kQ2 = "reek001002";
inline constexpr const char* kQ3 = "reek001003";

inline QByteArray Secret() {
    return QByteArray(32, '\x5a');
}

// A content directory: <dir>/D/IDbRecs.dat.
struct ContentDir {
    QTemporaryDir dir;
    ContentDir();
    QString Path() const { return dir.path(); }
};

// A stored value answered at day 46000 noon in `ms` milliseconds.
std::string Value(const std::string& answer, int ms = 5000);

// One user of a users.dat.
struct User {
    std::string Name;
    std::string Uid;
    int Gender = 0; // 1 female
    int Age = 0;
    std::vector<std::pair<std::string, std::string>> Answers; // key, stored value
    std::string Pw = "geheim";
};

// users.dat text with a Users list and the users' sections, CR LF.
std::string UsersFile(const std::vector<User>& users);

struct Exchange {
    ContentDir content;
    QTemporaryDir data;
    std::unique_ptr<TExchangeStore> store;
    std::unique_ptr<TExchangeService> service;

    explicit Exchange(int64_t minGroup = 1);
    TServiceReply Upload(const std::vector<User>& users) {
        return service->Upload(UsersFile(users));
    }
    std::string Statistics() {
        const auto text = service->Statistics();
        return text ? *text : std::string();
    }
};

} // namespace servertest
