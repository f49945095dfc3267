#pragma once

#include "tools/db_writer.h"

#include <QByteArray>
#include <string>
#include <utility>
#include <vector>

// Source files (name, UTF-8 text) that compile back to exactly these
// records: readable directives where they reproduce the key, "@record" with
// the key as written where they do not, "@hex" for texts that lines cannot
// carry. A new file starts at every group header.
std::vector<std::pair<std::string, QByteArray>>
DumpSources(const std::vector<TSourceRecord>& records);
