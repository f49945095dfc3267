#include "exam/feedback.h"

#include "exam/stored_answers.h"
#include "platform/numbers.h"
#include "platform/paths.h"
#include "platform/profile_file.h"

QString InternetUsersFilePath() {
    return plat::ResolvePath("User\\iusers.dat");
}

std::string GetInternetScore(std::string_view groupName, std::string_view questionKey) {
    if (questionKey.empty())
        return {};
    std::string value = plat::ReadProfileString(InternetUsersFilePath(),
                                                std::string(groupName) + ".Answers", questionKey);
    if (!value.empty())
        value += '%';
    return value;
}

std::string VerdictLine(std::string_view answer, std::string_view correct) {
    std::string line;
    if (answer.empty())
        line = "U heeft deze vraag niet beantwoord, het juiste antwoord is " + std::string(correct);
    else if (answer == correct)
        line = "U gaf het goede antwoord " + std::string(answer);
    else
        line = "Uw antwoord " + std::string(answer) + " was fout, het juiste antwoord is " +
               std::string(correct);
    return line + "\r\n";
}

namespace {

// Longest answer name shown; anything longer is not an answer of a question.
constexpr size_t kMaxAnswerName = 32;
// Enough for any real count and small enough not to overflow int64_t.
constexpr size_t kMaxCountDigits = 18;

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && s.front() == ' ')
        s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ')
        s.remove_suffix(1);
    return s;
}

// The text comes from a server and goes into markup: nothing that could open
// a tag or an entity, and no control characters.
bool IsShowableAnswerName(std::string_view name) {
    if (name.empty() || name.size() > kMaxAnswerName)
        return false;
    for (const char c : name) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7f || c == '<' || c == '>' || c == '&')
            return false;
    }
    return true;
}

// Digits only, leading zeros allowed; nothing when it has more than maxDigits
// significant digits.
std::optional<int64_t> ParseWholeNumber(std::string_view text, size_t maxDigits) {
    uint64_t max = 0;
    for (size_t i = 0; i < maxDigits; ++i)
        max = max * 10 + 9;
    const std::optional<uint64_t> value = plat::ParseUnsignedDecimal(text, max);
    return value ? std::optional<int64_t>(int64_t(*value)) : std::nullopt;
}

std::string ShownAnswerName(const std::string& answer) {
    if (answer == "-")
        return "geen antwoord";
    if (answer == "?")
        return "overig";
    return answer;
}

} // namespace

std::optional<int64_t> ParseParticipantCount(std::string_view value) {
    return ParseWholeNumber(value, kMaxCountDigits);
}

std::vector<TAnswerShare> ParseAnswerShares(std::string_view value) {
    std::vector<TAnswerShare> shares;
    while (!value.empty()) {
        const size_t semicolon = value.find(';');
        const std::string_view item = value.substr(0, semicolon);
        value =
            semicolon == std::string_view::npos ? std::string_view() : value.substr(semicolon + 1);
        const size_t equals = item.find('=');
        if (equals == std::string_view::npos)
            continue;
        const std::string_view name = TrimBlanks(item.substr(0, equals));
        const auto percent = ParseWholeNumber(TrimBlanks(item.substr(equals + 1)), 3);
        if (percent && *percent <= 100 && IsShowableAnswerName(name))
            shares.push_back({std::string(name), int(*percent)});
    }
    return shares;
}

TInternetScores ReadInternetScores(std::string_view questionKey) {
    TInternetScores s;
    s.Women = GetInternetScore("Women", questionKey);
    s.Men = GetInternetScore("Men", questionKey);
    s.Age14to16 = GetInternetScore("Age 14-16", questionKey);
    s.Age17to21 = GetInternetScore("Age 17-21", questionKey);
    s.Age22to30 = GetInternetScore("Age 22-30", questionKey);
    s.AgeOver30 = GetInternetScore("Age >30", questionKey);
    if (!questionKey.empty()) {
        const QString file = InternetUsersFilePath();
        s.Participants =
            ParseParticipantCount(plat::ReadProfileString(file, "Counts", questionKey));
        s.Choices = ParseAnswerShares(plat::ReadProfileString(file, "Choices", questionKey));
    }
    return s;
}

std::string ComposeFeedbackText(const TFeedbackParts& parts, const TInternetScores& scores) {
    std::string text(parts.Body);
    text += "\r\n\r\n";
    text += VerdictLine(AnswerPart(parts.StoredValue), parts.Correct);
    if (parts.HasExplanation) {
        text += "\r\nUitleg:\r\n\r\n";
        text += parts.Explanation;
    }
    text += "\r\nDe internet deelnemers scoorden als volgt:\r\n\r\n";
    text += "<i>Vermeld wordt steeds het percentage dat het goede antwoord gaf.</i>\r\n\r\n";
    text += "<b>Geslacht:</b>\r\n\r\n";
    text += "Vrouwen " + scores.Women + "\r\n";
    text += "Mannen " + scores.Men + "\r\n\r\n";
    text += "<b>Leeftijdscategorie:</b>\r\n\r\n";
    text += "14-16 jaar " + scores.Age14to16 + "\r\n";
    text += "17-21 jaar " + scores.Age17to21 + "\r\n";
    text += "22-30 jaar " + scores.Age22to30 + "\r\n";
    text += ">30 jaar " + scores.AgeOver30 + "\r\n\r\n";
    // Older servers send neither section; their text stays as it always was.
    const bool hasCount = scores.Participants && *scores.Participants >= 0;
    if (hasCount)
        text += "Aantal deelnemers: " + std::to_string(*scores.Participants) + "\r\n";
    std::string shares;
    for (const TAnswerShare& share : scores.Choices) {
        // Checked here too: the scores need not have come through the parser.
        if (!IsShowableAnswerName(share.Answer) || share.Percent < 0 || share.Percent > 100)
            continue;
        if (!shares.empty())
            shares += ", ";
        shares += ShownAnswerName(share.Answer) + " " + std::to_string(share.Percent) + "%";
    }
    if (!shares.empty())
        text += "Gegeven antwoorden: " + shares + "\r\n";
    if (hasCount || !shares.empty())
        text += "\r\n";
    return text;
}
