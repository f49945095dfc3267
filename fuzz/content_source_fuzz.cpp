// libFuzzer target for the readable content sources that zenx-content
// compiles: any text (BOM, CR-only or CR LF line ends, bad UTF-8, unknown
// directives) parses without crashing, every message points at a line of
// the text, and the records it gives, once written as a record database,
// read back unchanged by the tool and load in full in the program's loader.
#include "fuzz/fuzz_support.h"
#include "recdb/db_rec_file.h"
#include "tools/content_source.h"
#include "tools/db_writer.h"

#include <QByteArray>
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using fuzz::Check;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray text(reinterpret_cast<const char*>(data), qsizetype(size));
    TContentSource source;
    ParseContentText(text, "db/fuzz.txt", source);

    const int lines = int(std::count(text.begin(), text.end(), '\n')) + 1;
    for (const TContentMessage& m : source.Messages)
        Check(m.File == "db/fuzz.txt" && m.Line >= 1 && m.Line <= lines && !m.Text.empty());
    for (const TSourceRecord& r : source.Records)
        Check(r.Line >= 1 && r.Line <= lines && r.BodyLine > r.Line);

    QByteArray file;
    if (!WriteDatabase(source.Records, file))
        return 0; // a text too long for the format is refused, not cut
    std::vector<TSourceRecord> back;
    Check(ReadDatabase(file, back));
    Check(back.size() == source.Records.size());
    for (size_t i = 0; i < back.size(); ++i)
        Check(back[i].Key == source.Records[i].Key && back[i].Body == source.Records[i].Body);

    TiDbRecFile db;
    Check(db.LoadFromBytes(file));
    Check(size_t(db.Count()) == source.Records.size());
    return 0;
}
