// libFuzzer target for taking pictures out of the archive file: the input is
// a whole zernox2.dat. The index read from the file must be the one read
// from memory; every member the index names is extracted, and either the
// file written holds exactly the member's bytes (inflated where stored
// compressed) or extracting fails and leaves no file behind. The temporary
// path of a member's name never leaves the T folder.
#include "fuzz/fuzz_support.h"
#include "picarchive/picture_archive.h"
#include "platform/paths.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <zlib.h>

namespace {

using fuzz::Check;

constexpr int kMaxMembers = 8;
constexpr int32_t kMaxCheckedSize = 1 << 20;

// The first `size` bytes the zlib stream gives, by zlib alone; shorter when
// the stream is damaged or ends early.
QByteArray InflatePrefix(const QByteArray& stored, int32_t size) {
    QByteArray out(size, '\0');
    z_stream z{};
    if (inflateInit(&z) != Z_OK)
        return {};
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(stored.constData()));
    z.avail_in = uInt(stored.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = uInt(size);
    int rc = Z_OK;
    while (rc == Z_OK && z.avail_out > 0)
        rc = inflate(&z, Z_NO_FLUSH);
    out.resize(qsizetype(size - z.avail_out));
    inflateEnd(&z);
    return out;
}

void CheckExtract(const QString& archivePath, const QByteArray& archive, const TPictureEntry& entry,
                  const QString& target) {
    QFile::remove(target);
    const bool ok = ExtractPicture(archivePath, entry, target);
    if (!ok) {
        Check(!QFile::exists(target));
        return;
    }
    QFile file(target);
    Check(file.open(QIODevice::ReadOnly));
    const QByteArray member = file.readAll();
    Check(entry.Size > 0 && member.size() == entry.Size);
    Check(entry.Offset >= 0 && entry.StoredSize > 0 && entry.StoredSize <= entry.Size);
    const QByteArray stored = archive.mid(entry.Offset, entry.StoredSize);
    Check(stored.size() == entry.StoredSize);
    if (entry.StoredSize == entry.Size)
        Check(member == stored);
    else if (entry.Size <= kMaxCheckedSize)
        Check(member == InflatePrefix(stored, entry.Size));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static QTemporaryDir dir;
    Check(dir.isValid());
    static const bool programDirSet = [] {
        plat::SetProgramDir(dir.path() + "/");
        return true;
    }();
    (void)programDirSet;

    const QByteArray archive(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString archivePath = dir.filePath("zernox2.dat");
    {
        QFile out(archivePath);
        Check(out.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
              out.write(archive) == archive.size());
    }
    const std::optional<std::vector<std::string>> index = ReadPictureIndex(archivePath);
    Check(index.has_value() && *index == ParsePictureIndex(archive));

    const QString tFolder = QDir(dir.path()).filePath("T") + "/";
    int members = 0;
    for (const std::string& line : *index) {
        const TPictureEntry entry = ParsePictureEntry(line);
        if (entry.Name.empty())
            continue;
        const QString temp = PictureTempPath(entry.Name);
        if (!temp.isEmpty())
            Check(temp.startsWith(tFolder) && !temp.mid(tFolder.size()).contains('/') &&
                  temp.size() > tFolder.size());
        if (++members <= kMaxMembers)
            CheckExtract(archivePath, archive, entry, dir.filePath("T/member"));
    }
    return 0;
}
