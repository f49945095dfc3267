#pragma once

#include "tools/bank/numeric_common.h"

#include <cstdint>

// "Getallenreeksen": three tests of 25 number series at rising difficulty.
TBankGroup MakeNumberSeriesGroup(uint32_t seed);

// "Letterreeksen": a test without and a test with wrap after Z.
TBankGroup MakeLetterSeriesGroup(uint32_t seed);

// "Rekenvraagstukken": three tests of 20 word problems.
TBankGroup MakeWordProblemGroup(uint32_t seed);
