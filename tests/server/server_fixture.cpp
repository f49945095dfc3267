#include "tests/server/server_fixture.h"

#include <QDir>
#include <QFile>

namespace servertest {

ContentDir::ContentDir() {
    QDir(dir.path()).mkpath("D");
    QFile file(dir.path() + "/D/IDbRecs.dat");
    if (file.open(QIODevice::WriteOnly))
        file.write(dbtest::File(kRecords));
}

std::string Value(const std::string& answer, int ms) {
    return answer + "<46000,500><" + std::to_string(ms) + ">";
}

std::string UsersFile(const std::vector<User>& users) {
    std::string text = "[Users]\r\nCount=" + std::to_string(users.size()) + "\r\n";
    for (std::size_t i = 0; i < users.size(); ++i)
        text += std::to_string(i + 1) + "=" + users[i].Name + "\r\n";
    for (const User& u : users) {
        text += "[" + u.Name + ".Data]\r\nPw=" + u.Pw + "\r\nUid=" + u.Uid +
                "\r\nGender=" + std::to_string(u.Gender) + "\r\nAge=" + std::to_string(u.Age) +
                "\r\nDirectFB=1\r\n";
        text += "[" + u.Name + ".Answers]\r\n";
        for (const auto& [key, value] : u.Answers)
            text += key + "=" + value + "\r\n";
    }
    return text;
}

Exchange::Exchange(int64_t minGroup) {
    store = OpenSqliteStore(data.path().toStdString());
    TExchangeOptions options;
    options.MinGroup = minGroup;
    options.RebuildInterval = std::chrono::milliseconds(0);
    service = std::make_unique<TExchangeService>(*store, TAnswerKey::FromContentDir(content.Path()),
                                                 Secret(), options);
}

} // namespace servertest
