// zenx-exchange: the exchange server of Zernox 2.
#include "server/answer_key.h"
#include "server/exchange_service.h"
#include "server/http_server.h"
#include "server/participant_hash.h"
#include "server/server_options.h"
#include "server/store.h"

#include <QDir>
#include <QFileInfo>
#include <csignal>
#include <iostream>
#include <mutex>
#include <pthread.h>
#include <thread>

namespace {

constexpr int kBadSetUp = 2;

int Fail(const std::string& text, int code = kBadSetUp) {
    std::cerr << "zenx-exchange: " << text << '\n';
    return code;
}

} // namespace

int main(int argc, char** argv) {
    std::string error;
    const auto options = ParseServerOptions(std::vector<std::string>(argv + 1, argv + argc), error);
    if (!options)
        return Fail(error + " (see --help)");
    if (options->Help) {
        std::cout << ServerUsage();
        return 0;
    }

    const QString contentDir = QString::fromLocal8Bit(options->ContentDir.c_str());
    if (!QFileInfo(contentDir).isDir() || !QFileInfo(contentDir).isReadable())
        return Fail("cannot read the content directory " + options->ContentDir);
    TAnswerKey answerKey = TAnswerKey::FromContentDir(QDir(contentDir).absolutePath());
    if (answerKey.empty())
        return Fail("no questions in " + options->ContentDir + "/D/IDbRecs.dat");

    const auto secret =
        LoadOrCreateSecret(QString::fromLocal8Bit(options->DataDir.c_str()), &error);
    if (!secret)
        return Fail(error);

    std::unique_ptr<TExchangeStore> store;
    try {
        store = options->DatabaseUrl.empty() ? OpenSqliteStore(options->DataDir)
                                             : OpenPostgresStore(options->DatabaseUrl);
        // Every server on one database must hash participants alike.
        const std::string fingerprint = SecretFingerprint(*secret);
        if (store->ClaimSecretFingerprint(fingerprint) != fingerprint)
            return Fail("the database was filled by a server with another secret; copy that "
                        "server's " +
                        options->DataDir + "/secret here");
    } catch (const TStoreError& e) {
        return Fail(std::string("cannot open the store: ") + e.what());
    }

    TExchangeService service(*store, std::move(answerKey), *secret, options->Exchange);
    std::mutex logMutex;
    TExchangeHttpServer server(service, options->Http, [&](const std::string& line) {
        std::lock_guard lock(logMutex);
        std::cerr << line << '\n';
    });

    // Signals are taken by one thread, so that stopping is not done inside a
    // signal handler; every other thread inherits the blocked mask.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGINT);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    if (!server.Bind())
        return Fail(
            "cannot listen on " + options->Http.Host + ":" + std::to_string(options->Http.Port), 1);
    std::cerr << "zenx-exchange: listening on " << options->Http.Host << ':' << server.Port()
              << " ("
              << (options->DatabaseUrl.empty() ? "SQLite in " + options->DataDir : "PostgreSQL")
              << ")" << std::endl;

    std::thread waiter([&] {
        int signal = 0;
        sigwait(&stopSignals, &signal);
        server.Stop();
    });
    const bool served = server.Run();
    // Run can also end without a signal; wake the waiter then.
    pthread_kill(waiter.native_handle(), SIGTERM);
    waiter.join();
    std::cerr << "zenx-exchange: stopped" << std::endl;
    return served ? 0 : 1;
}
