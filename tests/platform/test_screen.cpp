#include "platform/screen.h"
#include "tests/platform/scoped_env.h"

#include <QGuiApplication>
#include <QScreen>
#include <gtest/gtest.h>

namespace {

void ExpectScreen(const plat::ScreenInfo& got, int w, int h, int depth) {
    EXPECT_EQ(got.width, w);
    EXPECT_EQ(got.height, h);
    EXPECT_EQ(got.depth, depth);
}

TEST(ScreenTest, ParsesWellFormedSpecs) {
    struct Case {
        const char* text;
        int w, h, depth;
    };
    for (const Case& c : {Case{"1024x768", 1024, 768, 24}, Case{"800x600x8", 800, 600, 8},
                          Case{"1280X1024", 1280, 1024, 24}, Case{" 640x480x16 ", 640, 480, 16},
                          Case{"630x480x32", 630, 480, 32}}) {
        SCOPED_TRACE(c.text);
        const auto info = plat::ParseScreenSpec(c.text);
        ASSERT_TRUE(info.has_value());
        ExpectScreen(*info, c.w, c.h, c.depth);
    }
}

TEST(ScreenTest, IgnoresMalformedSpecs) {
    for (const char* text : {"", "800", "800x", "x600", "800x600x", "axb", "-800x600", "0x600",
                             "800x0", "800x600x0", "800x600x65", "800x600x24x1", "800 x 600",
                             "99999999x1", "1e3x600", "800x600junk", "+800x600"}) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(plat::ParseScreenSpec(text).has_value());
    }
}

TEST(ScreenTest, OverrideBeatsEnvironmentWhichBeatsTheRealScreen) {
    const QScreen* primary = QGuiApplication::primaryScreen();
    ASSERT_NE(primary, nullptr);
    const QSize real = primary->size();
    {
        ScopedEnv env("ZENX_SCREEN", "not a size");
        ExpectScreen(plat::Screen(), real.width(), real.height(), primary->depth());
    }
    ScopedEnv env("ZENX_SCREEN", "1366x768");
    ExpectScreen(plat::Screen(), 1366, 768, 24);
    plat::SetScreenOverride({800, 600, 8});
    ExpectScreen(plat::Screen(), 800, 600, 8);
    plat::ClearScreenOverride();
    ExpectScreen(plat::Screen(), 1366, 768, 24);
}

} // namespace
