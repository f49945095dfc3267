#pragma once

#include "recdb/db_rec_file.h"
#include "recdb/record_index.h"

#include <string>
#include <vector>

// Start-up of the record database as the main window does it: load
// D\IDbRecs.dat from the program directory (with the intro's gauge when there
// is one), activate every record, build the test index and the list of
// reference topics. A missing or damaged file leaves what could be read,
// possibly nothing; nothing is reported. Returns LoadFromFile's result.
bool OpenRecordDatabase(TiDbRecFile& db, TRecordIndex& testIndex, std::vector<std::string>& topics,
                        const TLoadProgress& gauge = {});
