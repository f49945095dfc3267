#include "exam/feedback.h"

#include "exam/stored_answers.h"
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

TInternetScores ReadInternetScores(std::string_view questionKey) {
    TInternetScores s;
    s.Women = GetInternetScore("Women", questionKey);
    s.Men = GetInternetScore("Men", questionKey);
    s.Age14to16 = GetInternetScore("Age 14-16", questionKey);
    s.Age17to21 = GetInternetScore("Age 17-21", questionKey);
    s.Age22to30 = GetInternetScore("Age 22-30", questionKey);
    s.AgeOver30 = GetInternetScore("Age >30", questionKey);
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
    return text;
}
