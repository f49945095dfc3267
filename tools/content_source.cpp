#include "tools/content_source.h"

#include "platform/ansi.h"
#include "platform/numbers.h"

#include <QDir>
#include <QFile>
#include <algorithm>
#include <cstdio>
#include <map>

namespace {

bool IsCodeChar(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z');
}

bool IsCode(std::string_view text, size_t size) {
    return text.size() == size && std::all_of(text.begin(), text.end(), IsCodeChar);
}

bool IsDigits(std::string_view text) {
    return !text.empty() && text.size() <= 3 &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::vector<std::string_view> Words(std::string_view text) {
    std::vector<std::string_view> words;
    size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && text[i] == ' ')
            ++i;
        const size_t start = i;
        while (i < text.size() && text[i] != ' ')
            ++i;
        if (i > start)
            words.push_back(text.substr(start, i - start));
    }
    return words;
}

std::string Ansi(std::string_view utf8) {
    return plat::ToAnsi(QString::fromUtf8(utf8.data(), qsizetype(utf8.size())));
}

// Whether a UTF-8 line survives the program's single-byte character set:
// invalid UTF-8 and characters Windows-1252 lacks would show as "?".
bool FitsAnsi(std::string_view utf8) {
    if (std::all_of(utf8.begin(), utf8.end(), [](char c) { return uchar(c) < 0x80; }))
        return true;
    const QString text = QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
    return !text.contains(QChar::ReplacementCharacter) &&
           plat::FromAnsi(plat::ToAnsi(text)) == text;
}

bool FromHex(std::string_view hex, std::string& out) {
    out.clear();
    if (hex == "-")
        return true;
    if (hex.size() % 2)
        return false;
    for (size_t i = 0; i < hex.size(); i += 2) {
        const int hi = plat::HexDigitValue(hex[i]), lo = plat::HexDigitValue(hex[i + 1]);
        if (hi < 0 || lo < 0)
            return false;
        out.push_back(char(hi * 16 + lo));
    }
    return true;
}

std::string Question(std::string_view rest, TKeyContext& c, std::vector<std::string>& problems) {
    const size_t answerAt = rest.find("antwoord=");
    const std::vector<std::string_view> words = Words(rest.substr(0, answerAt));
    std::string number, points, length;
    bool hasPoints = false, hasLength = false;
    for (size_t i = 0; i < words.size(); ++i) {
        const std::string_view w = words[i];
        if (i == 0 && w.find('=') == std::string_view::npos) {
            number = std::string(w);
        } else if (w.substr(0, 7) == "punten=") {
            hasPoints = true;
            points = std::string(w.substr(7));
        } else if (w.substr(0, 7) == "lengte=") {
            hasLength = true;
            length = std::string(w.substr(7));
        } else {
            problems.push_back("unknown word '" + std::string(w) + "' in @vraag");
        }
    }
    if (!IsCode(number, 3) || number == "000")
        problems.push_back("question number must be three digits or lower-case letters, not 000");
    if (!hasPoints)
        problems.push_back("question without points (punten=)");
    else if (!IsDigits(points))
        problems.push_back("points must be a number from 0 to 999");
    if (!hasLength)
        problems.push_back("question without answer length (lengte=)");
    else if (!IsDigits(length) || std::stoi(length) < 1 || std::stoi(length) > 99)
        problems.push_back("answer length must be a number from 1 to 99");
    if (answerAt == std::string_view::npos)
        problems.push_back("question without correct answer (antwoord=)");
    const std::string answer =
        answerAt == std::string_view::npos ? std::string() : Ansi(rest.substr(answerAt + 9));
    if (answer.find('|') != std::string::npos)
        problems.push_back("the answer cannot hold '|'");
    if (c.Test.empty())
        problems.push_back("question outside a test (no @test before it in this file)");
    char columns[32];
    std::snprintf(columns, sizeof columns, "%03d%02d", IsDigits(points) ? std::stoi(points) : 0,
                  IsDigits(length) ? std::min(std::stoi(length), 99) : 0);
    const std::string code = c.Group + c.Test + number + columns + answer;
    c.LastQuestionCode = code;
    c.AfterQuestion = true;
    return "Test|" + code;
}

} // namespace

std::string TContentMessage::Format() const {
    return File + ":" + std::to_string(Line) + ": " + (Warning ? "warning: " : "error: ") + Text;
}

bool TContentSource::HasErrors() const {
    return std::any_of(Messages.begin(), Messages.end(),
                       [](const TContentMessage& m) { return !m.Warning; });
}

bool CompileDirective(std::string_view line, TKeyContext& c, std::string& key,
                      std::vector<std::string>& problems, std::string* hexBody, bool* isHex) {
    const size_t space = line.find(' ');
    const std::string_view word = line.substr(0, space);
    const std::string_view rest =
        space == std::string_view::npos ? std::string_view() : line.substr(space + 1);
    const bool afterQuestion = c.AfterQuestion;
    c.AfterQuestion = false;
    if (isHex)
        *isHex = false;
    if (word == "@groep") {
        const std::string code(rest);
        if (!IsCode(code, 4))
            problems.push_back("group code must be four digits or lower-case letters");
        c.Group = code;
        c.Test.clear();
        key = "Test|" + code + "00000000000";
    } else if (word == "@test") {
        const std::vector<std::string_view> words = Words(rest);
        if (words.size() == 2)
            c.Group = std::string(words[0]);
        c.Test = words.empty() ? std::string() : std::string(words.back());
        if (words.empty() || words.size() > 2 || !IsCode(c.Test, 3) || c.Test == "000")
            problems.push_back("@test needs a test number of three digits or lower-case "
                               "letters (not 000), optionally after a group code");
        if (c.Group.empty())
            problems.push_back("test outside a group (no @groep before it in this file)");
        key = "Test|" + c.Group + c.Test + "00000000";
    } else if (word == "@vraag") {
        key = Question(rest, c, problems);
    } else if (word == "@uitleg") {
        if (!afterQuestion)
            problems.push_back("@uitleg must directly follow a question");
        key = "Test|" + c.LastQuestionCode + "|uitleg";
    } else if (word == "@achtergrond") {
        if (rest.empty())
            problems.push_back("@achtergrond needs a title");
        key = "BkInfo|" + Ansi(rest);
    } else if (word == "@record") {
        key = Ansi(rest);
    } else if (word == "@hex") {
        const std::vector<std::string_view> words = Words(rest);
        std::string body;
        if (words.size() != 2 || !FromHex(words[0], key) || !FromHex(words[1], body))
            problems.push_back("@hex needs the key and the body as hexadecimal bytes or '-'");
        if (hexBody)
            *hexBody = body;
        if (isHex)
            *isHex = true;
    } else {
        problems.push_back("unknown directive '" + std::string(word) + "'");
        return false;
    }
    return true;
}

void ParseContentText(const QByteArray& text, const std::string& file, TContentSource& out) {
    std::string_view all(text.constData(), size_t(text.size()));
    if (all.substr(0, 3) == "\xEF\xBB\xBF")
        all.remove_prefix(3);
    TKeyContext context;
    TSourceRecord* current = nullptr;
    bool currentIsHex = false;
    std::vector<std::string_view> body;
    auto message = [&](int line, const std::string& t, bool warning = false) {
        out.Messages.push_back({file, line, t, warning});
    };
    auto finish = [&] {
        // Blank lines around a body only separate records; a line holding a
        // single "\" is an empty line that counts.
        size_t first = 0, last = body.size();
        while (first < last && body[first].empty())
            ++first;
        while (last > first && body[last - 1].empty())
            --last;
        if (current && currentIsHex && first < last)
            message(current->Line, "@hex takes no text");
        if (current && !currentIsHex) {
            std::string joined;
            for (size_t i = first; i < last; ++i) {
                std::string_view l = body[i];
                if (!l.empty() && l[0] == '\\')
                    l.remove_prefix(1);
                if (i > first)
                    joined += "\r\n";
                joined += l;
            }
            current->Body = Ansi(joined);
            current->BodyLine += int(first);
        }
        body.clear();
        current = nullptr;
    };

    int lineNo = 0;
    size_t pos = 0;
    while (pos <= all.size()) {
        const size_t nl = all.find('\n', pos);
        std::string_view line =
            all.substr(pos, nl == std::string_view::npos ? std::string_view::npos : nl - pos);
        pos = nl == std::string_view::npos ? all.size() + 1 : nl + 1;
        ++lineNo;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (!line.empty() && line[0] == '#')
            continue;
        if (!FitsAnsi(line))
            message(lineNo, "characters that Windows-1252 lacks show as '?'", true);
        if (line.empty() || line[0] != '@') {
            if (current)
                body.push_back(line);
            else if (!line.empty())
                message(lineNo, "text outside a record (a record starts with a line beginning "
                                "with '@')");
            continue;
        }
        finish();
        std::vector<std::string> problems;
        std::string key, hexBody;
        bool isHex = false;
        const bool known = CompileDirective(line, context, key, problems, &hexBody, &isHex);
        for (const std::string& p : problems)
            message(lineNo, p);
        if (!known)
            continue;
        out.Records.push_back({key, hexBody, file, lineNo, lineNo + 1});
        current = &out.Records.back();
        currentIsHex = isHex;
    }
    finish();
}

bool ReadContentSources(const QString& sourceDir, TContentSource& out,
                        const QStringList& extraDbDirs) {
    QDir dir(sourceDir + "/db");
    if (!dir.exists()) {
        out.Messages.push_back({plat::ToAnsi(dir.path()), 0, "no db folder", false});
        return false;
    }
    // File name -> (path, name in messages); by code points, so that the
    // order does not follow the locale.
    std::map<QString, std::pair<QString, std::string>> files;
    for (const QString& name : dir.entryList({"*.txt"}, QDir::Files))
        files[name] = {dir.filePath(name), "db/" + name.toStdString()};
    for (const QString& extra : extraDbDirs) {
        const QDir more(extra);
        if (!more.exists()) {
            out.Messages.push_back({plat::ToAnsi(extra), 0, "no such folder", false});
            continue;
        }
        for (const QString& name : more.entryList({"*.txt"}, QDir::Files)) {
            if (files.count(name)) {
                out.Messages.push_back({plat::ToAnsi(more.filePath(name)), 0,
                                        "a source file of this name exists already", false});
                continue;
            }
            files[name] = {more.filePath(name), plat::ToAnsi(more.filePath(name))};
        }
    }
    for (const auto& [name, where] : files) {
        QFile f(where.first);
        if (!f.open(QIODevice::ReadOnly)) {
            out.Messages.push_back({where.second, 0, "cannot be read", false});
            continue;
        }
        ParseContentText(f.readAll(), where.second, out);
    }
    return !out.HasErrors();
}
