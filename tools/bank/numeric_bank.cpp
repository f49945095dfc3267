#include "tools/bank/numeric_bank.h"
#include "tools/bank/numeric_groups.h"

std::vector<TBankGroup> MakeNumericBank(uint32_t seed) {
    return {MakeNumberSeriesGroup(seed), MakeLetterSeriesGroup(seed), MakeWordProblemGroup(seed)};
}
