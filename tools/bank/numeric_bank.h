#pragma once

#include "tools/bank/bank_writer.h"

#include <cstdint>
#include <vector>

// Number series, letter series and arithmetic word problems, made from a
// fixed seed: the same seed gives the same groups byte for byte.
std::vector<TBankGroup> MakeNumericBank(uint32_t seed);
