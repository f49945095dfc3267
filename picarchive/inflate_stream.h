#pragma once

#include <QByteArray>
#include <cstdint>
#include <functional>

// Called while inflating, after each block of output.
using TInflateProgress = std::function<void()>;

// Lets pending events run, so the window stays responsive on large members.
TInflateProgress DefaultInflateProgress();

// Inflates the zlib stream in source into target, which ends up holding
// exactly `size` bytes. False when source is missing or empty, target is
// missing, size <= 0, or the stream is corrupt or yields fewer than size
// bytes; target is then left empty. Output beyond size is not produced.
bool InflateStream(const QByteArray* source, QByteArray* target, int64_t size,
                   const TInflateProgress& progress = DefaultInflateProgress());
