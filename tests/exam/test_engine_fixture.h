#pragma once

#include "exam/content_model.h"
#include "platform/paths.h"
#include "platform/profile_file.h"
#include "tests/common/temp_program_dir.h"
#include "tests/recdb/db_bytes.h"

#include <string>
#include <utility>
#include <vector>

// A program directory with a record database built byte by byte, a norm
// table whose values tell the section apart, and helpers for the user file.
namespace enginetest {

using Records = std::vector<std::pair<std::string, std::string>>;

// Norm values: section base + raw score, so 45 years and raw 50 read "1050".
inline int NormBase(const std::string& section) {
    if (section == "14-16")
        return 2000;
    if (section == "17-21")
        return 3000;
    if (section == "22-30")
        return 4000;
    return 1000; // ">30"
}

inline QByteArray NormFile() {
    QByteArray text;
    for (const char* section : {"14-16", "17-21", "22-30", ">30"}) {
        text += QByteArray("[") + section + "]\r\n";
        for (int raw = 0; raw <= 164; ++raw)
            text += QByteArray::number(raw) + "=" + QByteArray::number(NormBase(section) + raw) +
                    "\r\n";
    }
    return text;
}

struct Engine {
    TempProgramDir dir;
    TiDbRecFile db;
    TRecordIndex index;
    TTestContent content{db, index};

    explicit Engine(const Records& records, bool norms = true) {
        plat::ClearProfileCache();
        db.LoadFromBytes(dbtest::File(records));
        db.ActivateAll();
        db.BuildTestIndex(index);
        if (norms)
            dir.Write("D/iq.dat", NormFile());
    }
    ~Engine() { plat::ClearProfileCache(); }

    QString UsersFile() const { return dir.Path() + "User/users.dat"; }
    void Store(const std::string& user, const std::string& key, const std::string& value) const {
        plat::ForceDirectoriesAbs(dir.Path() + "User");
        plat::WriteProfileString(UsersFile(), user + ".Answers", key, value);
    }
    std::string Stored(const std::string& user, const std::string& key) const {
        return plat::ReadProfileString(UsersFile(), user + ".Answers", key);
    }
};

} // namespace enginetest
