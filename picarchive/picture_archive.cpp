#include "picarchive/picture_archive.h"

#include "picarchive/inflate_stream.h"
#include "platform/ansi.h"
#include "platform/datetime.h"
#include "platform/numbers.h"
#include "platform/paths.h"

#include <QFile>
#include <QFileInfo>
#include <QtEndian>
#include <limits>

namespace {

// Pictures of a few megabytes at most are expected; beyond this, or beyond
// what deflate can reach (about 1032 to 1), a member's size is taken as damage.
constexpr int64_t kMaxMemberSize = 256 * 1024 * 1024;
constexpr int64_t kMaxDeflateRatio = 1032;

// Lines as a string list takes a text: CR, LF or CR LF end a line, a last
// line without an end counts, and the text ends at a zero byte.
std::vector<std::string> SplitLines(std::string_view text) {
    text = text.substr(0, text.find('\0'));
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.emplace_back(text.substr(start));
            break;
        }
        lines.emplace_back(text.substr(start, end - start));
        start = end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
    }
    return lines;
}

// Where the index lies in an archive of `size` bytes whose last four bytes
// give L; false when L cannot be right.
bool IndexSpan(int64_t size, const char* lastFour, int64_t& start, int64_t& length) {
    if (size < 4)
        return false;
    length = qFromLittleEndian<qint32>(lastFour);
    if (length < 0 || length > size - 4)
        return false;
    start = size - 4 - length;
    return true;
}

std::string_view NamePart(std::string_view line) {
    const size_t eq = line.find('=');
    return eq == std::string_view::npos ? std::string_view() : line.substr(0, eq);
}

double DosDate(std::string_view field) {
    const std::optional<uint64_t> value = plat::ParseUnsignedDecimal(field, UINT32_MAX);
    return value ? plat::FileDateToDateTime(uint32_t(*value)) : 0;
}

bool SetDateOrRemove(const QString& path, double dateTime) {
    const QByteArray native = QFile::encodeName(path);
    const double stamp = plat::FileDateToDateTime(plat::DateTimeToFileDate(dateTime));
    if (plat::SetFileDateTime(native.constData(), stamp))
        return true;
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    QFile::remove(path);
    return false;
}

} // namespace

std::vector<std::string> ParsePictureIndex(const QByteArray& archive) {
    int64_t start = 0, length = 0;
    if (!IndexSpan(archive.size(), archive.constData() + archive.size() - 4, start, length))
        return {};
    return SplitLines(std::string_view(archive.constData() + start, size_t(length)));
}

std::optional<std::vector<std::string>> ReadPictureIndex(const QString& archivePath) {
    if (!QFileInfo::exists(archivePath))
        return std::nullopt;
    std::vector<std::string> lines;
    QFile file(archivePath);
    if (!file.open(QIODevice::ReadOnly))
        return lines;
    const int64_t size = file.size();
    char lastFour[4];
    int64_t start = 0, length = 0;
    if (size < 4 || !file.seek(size - 4) || file.read(lastFour, 4) != 4 ||
        !IndexSpan(size, lastFour, start, length) || !file.seek(start))
        return lines;
    std::string text;
    text.reserve(size_t(length)); // bounded by the file's own size
    char block[2048];
    while (int64_t(text.size()) < length) {
        const int64_t want = std::min<int64_t>(sizeof block, length - int64_t(text.size()));
        const qint64 got = file.read(block, want);
        if (got <= 0)
            break;
        text.append(block, size_t(got));
    }
    if (int64_t(text.size()) == length)
        lines = SplitLines(text);
    return lines;
}

TPictureEntry ParsePictureEntry(std::string_view line) {
    TPictureEntry entry;
    const size_t eq = line.find('=');
    if (eq == std::string_view::npos)
        return entry;
    entry.Name = std::string(line.substr(0, std::min<size_t>(eq, 255)));
    std::string_view value = line.substr(eq + 1);
    std::string_view fields[4];
    for (int i = 0; i < 4; ++i) {
        const size_t semi = value.find(';');
        if (semi == std::string_view::npos)
            break; // a field without its ";" is absent, and so is the rest
        fields[i] = value.substr(0, semi);
        value.remove_prefix(semi + 1);
    }
    entry.DateTime = DosDate(fields[0]);
    entry.Size = plat::StrToIntDef(fields[1], 0);
    entry.StoredSize = plat::StrToIntDef(fields[2], 0);
    entry.Offset = plat::StrToIntDef(fields[3], -1);
    return entry;
}

TPictureEntry FindPicture(const std::vector<std::string>& index, std::string_view name) {
    for (const std::string& line : index)
        if (line.find('=') != std::string::npos && plat::AnsiSameText(NamePart(line), name))
            return ParsePictureEntry(line);
    return {};
}

bool PictureIndexHolds(const std::vector<std::string>& index, std::string_view name) {
    for (const std::string& line : index)
        if (line.find('=') != std::string::npos && plat::AnsiSameText(NamePart(line), name))
            return true;
    return false;
}

bool ExtractPicture(const QString& archivePath, const TPictureEntry& entry,
                    const QString& targetPath) {
    if (entry.Offset < 0 || entry.StoredSize <= 0 || entry.Size <= 0)
        return false;
    if (entry.StoredSize > entry.Size || entry.Size > kMaxMemberSize ||
        int64_t(entry.Size) > int64_t(entry.StoredSize) * kMaxDeflateRatio + 1024)
        return false;

    QByteArray stored;
    {
        QFile archive(archivePath);
        if (!archive.open(QIODevice::ReadOnly) || !archive.seek(entry.Offset))
            return false;
        char block[1024];
        while (stored.size() < entry.StoredSize) {
            const qint64 want = std::min<qint64>(sizeof block, entry.StoredSize - stored.size());
            const qint64 got = archive.read(block, want);
            if (got <= 0)
                break;
            stored.append(block, qsizetype(got));
        }
    }
    if (stored.size() != entry.StoredSize)
        return false;
    QByteArray member;
    if (entry.StoredSize == entry.Size)
        member = stored;
    else if (!InflateStream(&stored, &member, entry.Size))
        return false;

    if (!plat::ForceDirectoriesAbs(QFileInfo(targetPath).absolutePath()))
        return false;
    QFile out(targetPath);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const bool written = out.write(member) == member.size() && out.flush();
    out.close();
    if (!written) {
        QFile::remove(targetPath);
        return false;
    }
    return QFileInfo::exists(targetPath) && SetDateOrRemove(targetPath, entry.DateTime);
}

QString PictureTempPath(std::string_view name) {
    const size_t slash = name.find_last_of("/\\");
    const std::string_view file = slash == std::string_view::npos ? name : name.substr(slash + 1);
    if (file.empty() || file == "." || file == ".." || file.find('\0') != std::string_view::npos)
        return {};
    return plat::ResolvePath(std::string("T\\") + std::string(file));
}
