#pragma once

#include <QString>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The feedback shown after a question is answered (direct feedback) and for
// every question in review: the question again, a verdict with the correct
// answer, the explanation when there is one, and how the internet
// participants scored on the question (User\iusers.dat).

QString InternetUsersFilePath();

// Value of key questionKey in section groupName + ".Answers" of iusers.dat
// followed by "%", or empty when the file, section or key is missing.
std::string GetInternetScore(std::string_view groupName, std::string_view questionKey);

// The verdict line, ending in a line break. The whole answer and the whole
// correct answer are kept: cutting the line could hide the correct answer.
std::string VerdictLine(std::string_view answer, std::string_view correct);

// Everything that the feedback text is made of.
struct TFeedbackParts {
    std::string_view Body;        // the question record's body
    std::string_view StoredValue; // the user's stored value for the question
    std::string_view Correct;     // the question's correct answer
    bool HasExplanation = false;  // the record after the question explains it
    std::string_view Explanation; // that record's body
};

// One answer the internet participants gave and its share in whole percent.
// "-" names "no answer given", "?" all other (free text) answers.
struct TAnswerShare {
    std::string Answer;
    int Percent = 0;
};

// The internet percentages per participant group, in the order they are shown,
// then the number of participants and the answers they gave when the server
// sent them (sections "Counts" and "Choices" of iusers.dat).
struct TInternetScores {
    std::string Women, Men, Age14to16, Age17to21, Age22to30, AgeOver30;
    std::optional<int64_t> Participants;
    std::vector<TAnswerShare> Choices;
};

TInternetScores ReadInternetScores(std::string_view questionKey);

// A "Counts" value: a whole number >= 0, otherwise nothing.
std::optional<int64_t> ParseParticipantCount(std::string_view value);
// A "Choices" value such as "a=12;b=61;-=27": the valid items in their order.
// Items without '=', with a percentage that is not a whole number 0..100, or
// with a name that is empty, longer than 32 characters or holds '<', '>',
// '&' or a control character are dropped.
std::vector<TAnswerShare> ParseAnswerShares(std::string_view value);

// The feedback markup. It is never cut; a long question body keeps its end.
std::string ComposeFeedbackText(const TFeedbackParts& parts, const TInternetScores& scores);
