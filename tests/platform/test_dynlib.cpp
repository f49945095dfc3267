#include "platform/dynlib.h"
#include "tests/common/temp_program_dir.h"

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <zlib.h>

namespace {

std::string File(std::string_view name) {
    return plat::LibraryFileFor(name).toStdString();
}

TEST(LibraryFileForTest, MapsClassicNamesIntoTheProgramDir) {
    TempProgramDir dir;
    const std::string lib = (dir.Path() + "libveldux.so").toStdString();
    EXPECT_EQ(File("VELDUX.DLL"), lib);
    EXPECT_EQ(File("Veldux.Dll"), lib);
    EXPECT_EQ(File("veldux"), lib);
    EXPECT_EQ(File("LIBVELDUX.SO"), lib);
    EXPECT_EQ(File("a.b.dll"), (dir.Path() + "liba.b.so").toStdString());
    EXPECT_EQ(File("/opt/x/libVeldux.so"), "/opt/x/libVeldux.so");
    EXPECT_EQ(File("sub/VELDUX.DLL"), "sub/VELDUX.DLL");
}

TEST(DynLibTest, MissingOrBrokenLibrariesFailCleanly) {
    TempProgramDir dir;
    plat::DynLib lib;
    EXPECT_FALSE(lib.Load("VELDUX.DLL"));
    EXPECT_FALSE(lib.IsLoaded());
    EXPECT_FALSE(lib.ErrorString().isEmpty());
    EXPECT_EQ(lib.Symbol("PostFile"), nullptr);
    EXPECT_FALSE(lib.Load(""));

    dir.Write("libveldux.so", "this is no shared object");
    EXPECT_FALSE(lib.Load("VELDUX.DLL"));
    EXPECT_EQ(lib.Symbol("PostFile"), nullptr);
    lib.Unload(); // harmless when nothing is loaded
}

TEST(DynLibTest, LoadsALibraryAndFindsItsExports) {
    // zlib is linked into this program; its file is found through the loader.
    Dl_info info{};
    ASSERT_NE(dladdr(reinterpret_cast<void*>(&zlibVersion), &info), 0);
    ASSERT_NE(info.dli_fname, nullptr);

    plat::DynLib lib;
    ASSERT_TRUE(lib.Load(info.dli_fname)) << lib.ErrorString().toStdString();
    EXPECT_TRUE(lib.IsLoaded());
    EXPECT_EQ(lib.Symbol("zlibVersion"), reinterpret_cast<void*>(&zlibVersion));
    EXPECT_EQ(lib.Symbol("NoSuchExport"), nullptr);
    EXPECT_EQ(lib.Symbol(nullptr), nullptr);
    lib.Unload();
    EXPECT_FALSE(lib.IsLoaded());
    EXPECT_EQ(lib.Symbol("zlibVersion"), nullptr);
}

} // namespace
