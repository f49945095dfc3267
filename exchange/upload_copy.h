#pragma once

#include <QString>
#include <QTemporaryFile>
#include <string>
#include <string_view>

// The user store leaves the machine without its passwords: the upload sends
// a private temporary copy of users.dat from which every "Pw" key line is
// removed. All other bytes are sent as they are.

// The content with every "Pw" key line (any letter case, any section) taken
// out together with its line break. Lines are split at '\n' and keys are
// recognised the way the profile-file routines read them.
std::string WithoutPasswords(std::string_view content);

// A copy of a file without its "Pw" key lines, readable only by this user
// and removed when the object goes.
class TUploadCopy {
public:
    TUploadCopy();
    TUploadCopy(const TUploadCopy&) = delete;
    TUploadCopy& operator=(const TUploadCopy&) = delete;

    // False when the source cannot be read or the copy cannot be written.
    bool Make(const QString& source);
    // The copy's path; empty until Make succeeded.
    QString FileName() const;

private:
    QTemporaryFile file_;
    bool made_ = false;
};
