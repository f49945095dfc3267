// libFuzzer target for the picture archive's index and members: any archive
// must give an index (possibly empty) without crashing, and inflating a
// member must never yield more than its declared size.
#include "picarchive/inflate_stream.h"
#include "picarchive/picture_archive.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray archive(reinterpret_cast<const char*>(data), qsizetype(size));
    const std::vector<std::string> index = ParsePictureIndex(archive);
    for (const std::string& line : index) {
        const TPictureEntry entry = ParsePictureEntry(line);
        if (entry.Name.size() > 255)
            std::abort();
        FindPicture(index, entry.Name);
        if (entry.Offset < 0 || entry.StoredSize <= 0 || entry.Size <= 0 ||
            entry.StoredSize >= entry.Size ||
            int64_t(entry.Offset) + entry.StoredSize > archive.size())
            continue;
        const QByteArray stored = archive.mid(entry.Offset, entry.StoredSize);
        QByteArray member;
        if (InflateStream(&stored, &member, std::min<int32_t>(entry.Size, 1 << 20), [] {}) &&
            member.size() != std::min<int32_t>(entry.Size, 1 << 20))
            std::abort();
    }
    return 0;
}
