#pragma once

#include "exam/content_model.h"
#include "exam/stored_answers.h"

#include <QString>
#include <cstdint>
#include <string>
#include <string_view>

// Scores are the points of the right answers related to the possible points,
// scaled to a raw score 0..200 and looked up in the norm table d\iq.dat for
// the user's age group.

inline constexpr int kHighestNormedRaw = 164;
inline constexpr const char* kIQNotScored = "n.b.";  // no points or none earned
inline constexpr const char* kIQNoNorm = "g.s.";     // norm file, section or key missing
inline constexpr const char* kIQAboveNorms = ">155"; // raw score above 164

QString NormFilePath();

// Section of iq.dat for an age: "14-16", "17-21", "22-30", else ">30".
std::string IQSection(int age);

// IQ text for a raw score; the age and raw texts are read as decimal numbers
// (0 when they are not). Raw scores above 164 give ">155" without reading
// the file.
std::string LookUpIQ(std::string_view ageText, std::string_view rawText);
std::string LookUpIQ(int age, int64_t raw);

// Whole part of (earned / possible) x 200, the quotient formed first in
// extended precision. `possible` must not be 0.
int64_t RawScore(int64_t earned, int64_t possible);

// "n.b." unless possible is not 0 and earned > 0; otherwise the looked-up IQ.
std::string IQText(int64_t earned, int64_t possible, int age);

// Points of one test for a user's stored answers.
struct TTestScore {
    int Questions = 0;    // N
    int64_t Possible = 0; // P
    int64_t Earned = 0;   // E
    int Answered = 0;     // A: stored values that are not empty
};

// Each stored value is judged by AnswerIsRight.
TTestScore ScoreTest(const TTestContent& content, std::string_view testKey,
                     const TAnswerSnapshot& answers);

// IQ text of one test for a user (name for the answers, age for the norms).
std::string GetTestIQ(const TTestContent& content, std::string_view testKey,
                      std::string_view userName, int age);
