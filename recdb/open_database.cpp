#include "recdb/open_database.h"

#include "platform/paths.h"

bool OpenRecordDatabase(TiDbRecFile& db, TRecordIndex& testIndex, std::vector<std::string>& topics,
                        const TLoadProgress& gauge) {
    const bool complete = db.LoadFromFile(plat::ResolvePath("D\\IDbRecs.dat"), gauge);
    db.ActivateAll();
    db.BuildTestIndex(testIndex);
    db.BuildInfoIndex(topics);
    return complete;
}
