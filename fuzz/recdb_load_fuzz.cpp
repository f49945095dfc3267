// libFuzzer target for the record database loader: any file must load (in
// part) without crashing, and every index and query over what was loaded
// must stay within the records.
#include "recdb/db_rec_file.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TiDbRecFile db;
    db.LoadFromBytes(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    if (db.Count() > int32_t(size / 8))
        std::abort(); // every record takes at least its header
    db.ActivateAll();
    for (int32_t n = 1; n <= db.Count(); ++n) {
        const TDbRec rec = db.RecordAt(n);
        if ((rec.Key && std::strlen(rec.Key) > rec.KeyLen) ||
            (rec.Body && std::strlen(rec.Body) > rec.BodyLen))
            std::abort();
    }
    std::vector<std::string> topics;
    TRecordIndex index;
    db.BuildInfoIndex(topics);
    db.BuildTestIndex(index);
    for (int g = 1; g <= index.GroupCount(); ++g) {
        const std::string group = index.GroupCodeAt(g);
        db.GroupTitle(index, group);
        for (int t = 1; t <= index.TestCount(group); ++t) {
            const std::string test = group + index.TestAt(group, t);
            db.TestTitle(index, test);
            for (int q = 1; q <= index.QuestionCount(test); ++q) {
                const std::string& entry = index.FindEntry(test + index.QuestionAt(test, q));
                EntryAnswer(entry);
                db.RecordAt(index.FindRecordNo(test + index.QuestionAt(test, q)));
            }
        }
    }
    return 0;
}
