// Where a redirect's Location value leads, relative to the redirected request.
#include "transfer/location_resolver.h"

#include <gtest/gtest.h>

using vdx::ResolveLocation;

TEST(LocationResolver, RelativeValuesKeepHostAndPort) {
    struct Case {
        const char* currentPath;
        const char* location;
        const char* expected;
    };
    const Case cases[] = {
        {"/zenx/iusers.dat", "ok.dat", "http://exchange:8080/zenx/ok.dat"},
        {"/zenx/iusers.dat", "../x", "http://exchange:8080/x"},
        {"/zenx/iusers.dat", "/abs", "http://exchange:8080/abs"},
        {"/zenx/sub/iusers.dat?v=1", "./a/../b.dat?w=2#top",
         "http://exchange:8080/zenx/sub/b.dat?w=2"},
        {"/zenx/iusers.dat", "../../../../etc", "http://exchange:8080/etc"},
        {"/zenx/iusers.dat", "..", "http://exchange:8080/"},
        {"/zenx/iusers.dat", "sub/", "http://exchange:8080/zenx/sub/"},
        {"/zenx/iusers.dat?x=1", "?y=2", "http://exchange:8080/zenx/iusers.dat?y=2"},
        {"/", "a b", "http://exchange:8080/a b"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ResolveLocation("exchange", 8080, c.currentPath, c.location), c.expected)
            << c.currentPath << " + " << c.location;
}

TEST(LocationResolver, AbsoluteValuesStandAsTheyAre) {
    EXPECT_EQ(ResolveLocation("h", 81, "/a", "http://other:9/x"), "http://other:9/x");
    EXPECT_EQ(ResolveLocation("h", 81, "/a", "HTTPS://other/x"), "HTTPS://other/x");
    EXPECT_EQ(ResolveLocation("h", 81, "/a", "//other/x"), "http://other/x");
    // A colon later in a relative value is no scheme.
    EXPECT_EQ(ResolveLocation("h", 81, "/a/b", "c:d"), "http://h:81/a/c:d");
    EXPECT_EQ(ResolveLocation("h", 81, "/a/b", "1x://y"), "http://h:81/a/1x://y");
}
