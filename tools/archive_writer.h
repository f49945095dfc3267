#pragma once

#include <QByteArray>
#include <cstdint>
#include <string>
#include <vector>

struct TArchiveMember {
    std::string Name; // as the markup names it
    QByteArray Data;
    uint32_t DosDate = 0; // MS-DOS date-time
};

// zernox2.dat for the members in the order given: each member deflated (zlib
// format) when that makes it smaller, stored as it is otherwise, then the
// index lines "name=date;size;stored size;offset;" and the index length.
// Members larger than 2 GB or with a name holding "=" or a line break are
// refused (false).
bool WriteArchive(const std::vector<TArchiveMember>& members, QByteArray& out,
                  std::string* error = nullptr);
