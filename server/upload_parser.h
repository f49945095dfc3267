#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Reading an uploaded users.dat: INI text in Windows-1252 with CR LF, LF or
// CR line ends, possibly after a UTF-8 byte order mark. Only what the
// statistics need is taken; passwords and the other profile keys are never
// looked at.

struct TUploadedUser {
    std::string Name; // cut to 255 characters, as the program keeps it
    std::string Uid;
    bool Female = false;
    int Age = 0; // 8 bits as the program reads it: 300 reads as 44
    // (QuestionKey, stored value) for every answered question, in file order.
    std::vector<std::pair<std::string, std::string>> Answers;
};

// The users of an upload: those listed in "Users" and, so that answers of a
// user lost from a damaged list still count, every user that only has a
// "<name>.Data" or "<name>.Answers" section. Each name once (letter case
// ignored, as the sections match). Empty when the text holds no user.
std::vector<TUploadedUser> ParseUpload(std::string_view body);

// The body with a leading UTF-8 byte order mark dropped and every CR LF and
// lone CR turned into LF.
std::string NormalizedLines(std::string_view body);
