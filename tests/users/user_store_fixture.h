#pragma once

#include "platform/profile_file.h"
#include "tests/common/temp_program_dir.h"
#include "users/user_store.h"

#include <QDir>
#include <gtest/gtest.h>

// A program directory of its own with an empty "User" folder; File() is
// the store's path in it.
class UserStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(QDir().mkpath(dir_.Path() + "User"));
        plat::ClearProfileCache();
        file_ = UsersFile();
    }
    void TearDown() override { plat::detail::SetProfileWriteHook({}); }

    const QString& File() const { return file_; }
    void Put(const QByteArray& content) const { dir_.Write("User/users.dat", content); }
    QByteArray Get() const { return dir_.Read("User/users.dat"); }

    TempProgramDir dir_;
    QString file_;
};
