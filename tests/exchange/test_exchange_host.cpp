// Which exchange server the page talks to: the built-in host, or a valid
// ZENX_EXCHANGE_HOST from the environment.
#include "tests/exchange/exchange_fixture.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

constexpr const char* kVariable = "ZENX_EXCHANGE_HOST";

TEST(ExchangeHost, AcceptsWhatTheBuildAccepts) {
    for (const char* host : {"localhost", "localhost:8080", "exchange.example", "a-b.c9:1",
                             "127.0.0.1:65535", "X:00080"}) {
        SCOPED_TRACE(host);
        EXPECT_TRUE(IsValidExchangeHost(host));
    }
    for (const char* host :
         {"", ":8080", "localhost:", "localhost:0", "localhost:65536", "localhost:99999999999",
          "localhost:80:81", "localhost:+80", "local host", " localhost", "localhost ",
          "http://localhost", "localhost/zenx", "host_name", "host:8o", "h\xe9st"}) {
        SCOPED_TRACE(host);
        EXPECT_FALSE(IsValidExchangeHost(host));
    }
    EXPECT_TRUE(IsValidExchangeHost(ZENX_TEST_EXCHANGE_HOST));
}

TEST(ExchangeHost, EnvironmentOverridesTheBuiltInHostWhenValid) {
    {
        ScopedEnv env(kVariable, "");
        EXPECT_EQ(ExchangeServerHost(), ZENX_TEST_EXCHANGE_HOST) << "empty";
        qunsetenv(kVariable);
        EXPECT_EQ(ExchangeServerHost(), ZENX_TEST_EXCHANGE_HOST) << "unset";
    }
    for (const char* bad : {"localhost:70000", "bad host", "localhost:", "x:0"}) {
        ScopedEnv env(kVariable, bad);
        EXPECT_EQ(ExchangeServerHost(), ZENX_TEST_EXCHANGE_HOST) << bad;
    }
    ScopedEnv env(kVariable, "127.0.0.1:18080");
    EXPECT_EQ(ExchangeServerHost(), "127.0.0.1:18080");
}

TEST(ExchangeHost, ThePageDownloadsFromTheOverriddenHost) {
    ScopedEnv env(kVariable, "exchange.test:9");
    InternetPageFixture f;
    ASSERT_NE(f.exchange, nullptr);
    EXPECT_EQ(f.exchange->ServerHost(), "exchange.test:9");
    const QString logName = f.program.Path() + "calls.log";
    ScopedEnv log("FAKE_VELDUX_LOG", QFile::encodeName(logName));
    f.InstallLibrary(FAKE_VELDUX);
    f.ClickDownload();
    QFile file(logName);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains("GetFile exchange.test:9/zenx iusers.dat "));
}

} // namespace
