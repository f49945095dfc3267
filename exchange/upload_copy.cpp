#include "exchange/upload_copy.h"

#include <QDir>
#include <QFile>

namespace {

constexpr std::string_view kBlanks = " \t\r\v\f";

std::string_view Trim(std::string_view s) {
    const size_t first = s.find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
        return {};
    return s.substr(first, s.find_last_not_of(kBlanks) - first + 1);
}

// A key line "Pw=..." as the profile reader sees it: not a comment, not a
// section header, the text before the first '=' being "Pw" once trimmed.
bool IsPasswordLine(std::string_view line) {
    const size_t start = line.find_first_not_of(kBlanks);
    if (start == std::string_view::npos || line[start] == ';' || line[start] == '[')
        return false;
    const size_t eq = line.find('=', start);
    if (eq == std::string_view::npos)
        return false;
    const std::string_view key = Trim(line.substr(start, eq - start));
    return key.size() == 2 && (key[0] == 'P' || key[0] == 'p') && (key[1] == 'W' || key[1] == 'w');
}

} // namespace

std::string WithoutPasswords(std::string_view content) {
    std::string out;
    out.reserve(content.size());
    // The reader skips a leading byte order mark; so must the check.
    constexpr std::string_view kBom = "\xEF\xBB\xBF";
    if (content.starts_with(kBom)) {
        out.append(kBom);
        content.remove_prefix(kBom.size());
    }
    // Lines end where the reader ends them: LF, CR LF or a lone CR.
    while (!content.empty()) {
        size_t end = content.find_first_of("\r\n");
        if (end == std::string_view::npos)
            end = content.size();
        else if (content[end] == '\r' && end + 1 < content.size() && content[end + 1] == '\n')
            end += 2;
        else
            end += 1;
        const std::string_view line = content.substr(0, end);
        if (!IsPasswordLine(line))
            out.append(line);
        content.remove_prefix(end);
    }
    return out;
}

TUploadCopy::TUploadCopy() : file_(QDir::tempPath() + QStringLiteral("/zenx-upload-XXXXXX.dat")) {}

bool TUploadCopy::Make(const QString& source) {
    made_ = false;
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    const QByteArray content = in.readAll();
    if (in.error() != QFileDevice::NoError)
        return false;
    in.close();
    // QTemporaryFile creates the file for its owner only.
    if (!file_.open())
        return false;
    const std::string copy =
        WithoutPasswords(std::string_view(content.constData(), size_t(content.size())));
    if (file_.write(copy.data(), qint64(copy.size())) != qint64(copy.size()) || !file_.flush())
        return false;
    file_.close();
    made_ = true;
    return true;
}

QString TUploadCopy::FileName() const {
    return made_ ? file_.fileName() : QString();
}
