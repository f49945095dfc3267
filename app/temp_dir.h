#pragma once

#include <QString>

// Empties the directory of extracted pictures and removes it: every file
// directly inside goes (one that cannot be deleted stays), then the directory
// itself when it is empty. Sub-directories are left alone, and so keep it.
void CleanTempDir(const QString& dir);
