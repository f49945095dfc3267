#pragma once

#include <QString>
#include <QTemporaryFile>
#include <cstdint>
#include <string_view>

// The downloaded statistics replace User\iusers.dat only when they read as
// statistics: an INI text with at least one section, no NUL bytes, and no
// line that is neither blank, a comment, a section header nor key=value.
// An error page a server or proxy sends with status 200 fails this.
bool IsStatisticsText(std::string_view text);

// One download of the statistics file. The library writes into a temporary
// file beside the target; the target is replaced by a rename only when the
// library reported success and the text passes IsStatisticsText, so every
// failure leaves the old file byte for byte. The temporary file goes with
// the object.
class TStatisticsDownload {
public:
    explicit TStatisticsDownload(QString target);
    TStatisticsDownload(const TStatisticsDownload&) = delete;
    TStatisticsDownload& operator=(const TStatisticsDownload&) = delete;

    // Makes the target's directory if needed and the temporary file; false
    // when either cannot be made.
    bool Prepare();
    // Where the library is to write; valid after Prepare.
    QString DownloadPath() const;
    // Takes the library's result code and returns the one to report: a
    // success whose text is no statistics, or that cannot be moved into
    // place, becomes a failure.
    int32_t Finish(int32_t code);

private:
    QString target_;
    QTemporaryFile download_;
};
