// Many clients at once: 8 threads, 2,000 uploads and 20,000 downloads in all.
// Afterwards the counters must equal a recount from the stored answers, and
// every participant must hold exactly what its last upload said.
#include "tests/server/http_fixture.h"

#include <httplib.h>

#include <atomic>
#include <gtest/gtest.h>
#include <map>

using namespace servertest;

namespace {

constexpr int kClients = 8;
constexpr int kUploads = 2000;
constexpr int kDownloads = 20000;
constexpr int kUsersPerClient = 25;

// The n-th version of a user: answers, gender and age change from upload to
// upload, so a lost or doubled upload shows in the counters.
User Version(int client, int user, int n) {
    User u{"Klant" + std::to_string(client) + "-" + std::to_string(user),
           std::to_string(1000 * client + user),
           (user + n) % 2,
           12 + (user * 7 + n) % 30,
           {}};
    static const char* const kAnswers[] = {"a", "b", "c", "ab", ""};
    u.Answers.push_back({kQ1, Value(kAnswers[(n + user) % 5])});
    if ((n + user) % 3 != 0)
        u.Answers.push_back({kQ2, Value(kAnswers[(n * 3 + user) % 5])});
    if (n % 2 == 0)
        u.Answers.push_back({kQ3, Value(kAnswers[(n + 2 * user) % 5])});
    return u;
}

} // namespace

TEST(ExchangeLoad, EightClientsLoseNothingAndCountNothingTwice) {
    THttpOptions options;
    options.Rate = 0;
    options.Threads = 16;
    RunningServer server(options);
    ASSERT_GT(server.Port(), 0);

    std::atomic<int> failures{0};
    // Last version uploaded of each user, per client (each client owns its users).
    std::vector<std::map<int, int>> last(kClients);
    std::vector<std::thread> threads;
    for (int c = 0; c < kClients; ++c) {
        threads.emplace_back([&, c] {
            httplib::Client client("127.0.0.1", server.Port());
            client.set_keep_alive(true);
            const int uploads = kUploads / kClients;
            const int downloadsPerUpload = kDownloads / kUploads;
            for (int i = 0; i < uploads; ++i) {
                const int user = i % kUsersPerClient;
                // Now and then two users in one file.
                std::vector<User> users{Version(c, user, i)};
                if (i % 7 == 0)
                    users.push_back(Version(c, (user + 1) % kUsersPerClient, i));
                const auto up = client.Post("/zenx/zenxws.dll?action=zenxdata", UsersFile(users),
                                            "application/x-www-form-urlencoded");
                if (!up || up->status != 200)
                    ++failures;
                for (const User& u : users)
                    last[c][std::stoi(u.Uid) % 1000] = i;
                for (int d = 0; d < downloadsPerUpload; ++d) {
                    const auto down = client.Get("/zenx/iusers.dat");
                    if (!down || down->status != 200 ||
                        down->body.find("[Choices]") == std::string::npos)
                        ++failures;
                }
            }
        });
    }
    for (auto& t : threads)
        t.join();
    EXPECT_EQ(failures.load(), 0);

    TExchangeStore& store = *server.exchange.store;
    EXPECT_EQ(store.ReadCounters(), store.Recount());
    EXPECT_EQ(store.ParticipantCount(), kClients * kUsersPerClient);
    // Every participant as its last upload left it.
    TAnswerKey key = TAnswerKey::FromContentDir(server.exchange.content.Path());
    int64_t answers = 0;
    for (int c = 0; c < kClients; ++c)
        for (const auto& [user, n] : last[c]) {
            const std::string body = UsersFile({Version(c, user, n)});
            const auto expected = server.exchange.service->Participants(body);
            ASSERT_EQ(expected.size(), 1u);
            const TParticipant stored = store.ReadParticipant(expected[0].Hash);
            EXPECT_EQ(stored.Female, expected[0].Female);
            EXPECT_EQ(stored.Age, expected[0].Age);
            ASSERT_EQ(stored.Answers.size(), expected[0].Answers.size());
            for (std::size_t a = 0; a < stored.Answers.size(); ++a) {
                EXPECT_EQ(stored.Answers[a].QuestionKey, expected[0].Answers[a].QuestionKey);
                EXPECT_EQ(stored.Answers[a].Answer, expected[0].Answers[a].Answer);
            }
            answers += int64_t(stored.Answers.size());
        }
    EXPECT_EQ(store.AnswerCount(), answers);
    // One log line per request.
    EXPECT_EQ(server.Log(kUploads + kDownloads).size(), std::size_t(kUploads + kDownloads));
}
