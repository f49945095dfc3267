#pragma once

#include "server/counters.h"

#include <cstdint>
#include <string>

// iusers.dat as the program reads it: one section "<group>.Answers" per
// participant group, key the question key, value the whole-number percentage
// of the group's participants who answered right. Then two sections the
// program reads when present: "Counts" (participants per question) and
// "Choices" (the share of each answer, e.g. "a=12;b=61;c=20;d=7").
// Windows-1252, CR LF line ends.
//
// A value that rests on fewer than `minGroup` participants is left out, so
// that nobody's answer can be read back from a small group.
std::string BuildStatisticsText(const TCounterTable& table, int64_t minGroup);

// Whole-number percentage of part in whole, rounded half up; whole > 0.
int64_t Percentage(int64_t part, int64_t whole);
