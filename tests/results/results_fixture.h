#pragma once

#include "results/result_attempts.h"
#include "tests/exam/test_engine_fixture.h"

#include <string>

// Two groups: "Getallen" with a test of two questions and one of one,
// "Figuren" with one test of two questions. Every question is worth 10
// points and takes one click. With the fixture's norms, age 45 reads
// 1000 + raw: one of two right gives "1100", all right ">155".
namespace resultstest {

inline const enginetest::Records kContent = {
    {"Test|getl00000000000", "Getallen"}, {"Test|getl00100000000", "Reeksen"},
    {"Test|getl00100101001a", "Vraag 1"}, {"Test|getl00100201001b", "Vraag 2"},
    {"Test|getl00200000000", "Rekenen"},  {"Test|getl00200101001c", "Vraag"},
    {"Test|figu00000000000", "Figuren"},  {"Test|figu00100000000", "Vormen"},
    {"Test|figu00100101001a", "Vraag 1"}, {"Test|figu00100201001a", "Vraag 2"},
};

inline TResultAttempt Attempt(int groupNo, const std::string& iq, double finished = 0,
                              int attempt = 0) {
    TResultAttempt a;
    a.GroupNo = groupNo;
    a.GroupTitle = groupNo == 1 ? "Getallen" : "Figuren";
    a.TestTitle = "Test";
    a.TestKey = groupNo == 1 ? "getl001" : "figu001";
    a.IQ = iq;
    a.Finished = finished;
    a.Attempt = attempt;
    a.Questions = 2;
    return a;
}

} // namespace resultstest
