#include "tools/content_dump.h"

#include "platform/ansi.h"
#include "recdb/record_index.h"
#include "tools/content_source.h"

#include <cstdio>

namespace {

std::string Utf8(std::string_view ansi) {
    return plat::FromAnsi(ansi).toUtf8().toStdString();
}

std::string Hex(std::string_view bytes) {
    if (bytes.empty())
        return "-";
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (unsigned char b : bytes) {
        out.push_back(digits[b >> 4]);
        out.push_back(digits[b & 15]);
    }
    return out;
}

// Bodies go line by line: no zero bytes, and CR and LF only as pairs.
bool LinesCarry(std::string_view text) {
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\0')
            return false;
        if (text[i] == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n'))
            return false;
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r'))
            return false;
    }
    return true;
}

std::vector<std::string> Candidates(const std::string& key, const TKeyContext& c) {
    std::vector<std::string> out;
    if (key.rfind("BkInfo|", 0) == 0)
        out.push_back("@achtergrond " + Utf8(key.substr(7)));
    if (key.rfind("Test|", 0) == 0 && key.size() >= 20) {
        const std::string code = key.substr(5);
        const std::string group = code.substr(0, 4), test = code.substr(4, 3);
        out.push_back("@groep " + group);
        out.push_back(group == c.Group ? "@test " + test : "@test " + group + " " + test);
        const std::string entry = "0|" + code; // read the columns as the index does
        char attrs[64];
        std::snprintf(attrs, sizeof attrs,
                      " punten=%d lengte=%d antwoord=", StrToIntDef(EntryPoints(entry), 0),
                      StrToIntDef(EntryAnswerLength(entry), 0));
        out.push_back("@vraag " + std::string(EntryQuestion(entry)) + attrs +
                      Utf8(EntryAnswer(entry)));
    }
    if (c.AfterQuestion)
        out.push_back("@uitleg");
    out.push_back(key.empty() ? "@record" : "@record " + Utf8(key));
    return out;
}

// The first directive that compiles to exactly this key in this context.
bool Directive(const std::string& key, TKeyContext& c, std::string& line) {
    if (key.find_first_of("\r\n") != std::string::npos || key.find('\0') != std::string::npos)
        return false;
    for (const std::string& candidate : Candidates(key, c)) {
        TKeyContext trial = c;
        std::string compiled;
        std::vector<std::string> problems;
        if (CompileDirective(candidate, trial, compiled, problems) && problems.empty() &&
            compiled == key) {
            c = trial;
            line = candidate;
            return true;
        }
    }
    return false;
}

void AppendBody(std::string& out, const std::string& body) {
    if (body.empty())
        return;
    std::vector<std::string> lines;
    for (size_t start = 0;;) {
        const size_t end = body.find("\r\n", start);
        lines.push_back(
            body.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos)
            break;
        start = end + 2;
    }
    size_t first = 0, last = lines.size();
    while (first < last && lines[first].empty())
        ++first;
    while (last > first && lines[last - 1].empty())
        --last;
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string& l = lines[i];
        // Blank lines at either end would be taken as separators, and lines
        // starting with these characters as directives or comments.
        const bool escape = (l.empty() && (i < first || i >= last)) ||
                            (!l.empty() && (l[0] == '@' || l[0] == '#' || l[0] == '\\'));
        out += (escape ? "\\" : "") + Utf8(l) + "\n";
    }
}

// Numbered so that reading in name order keeps the records' order: the
// width fits the most files the records can make.
std::string FileName(size_t n, size_t most, const std::string& group) {
    int width = 3;
    for (size_t limit = 1000; most >= limit && width < 20; limit *= 10)
        ++width;
    char name[64];
    std::snprintf(name, sizeof name, "%0*zu-%s.txt", width, n, group.c_str());
    return name;
}

} // namespace

std::vector<std::pair<std::string, QByteArray>>
DumpSources(const std::vector<TSourceRecord>& records) {
    std::vector<std::pair<std::string, QByteArray>> files;
    std::string text;
    std::string name = FileName(0, records.size(), "begin");
    TKeyContext context;
    auto flush = [&] {
        if (!text.empty())
            files.emplace_back(name, QByteArray::fromStdString(text));
        text.clear();
    };
    for (const TSourceRecord& rec : records) {
        // A group header that "@groep" reproduces opens a file of its own.
        TKeyContext fresh;
        std::string line;
        if (rec.Key.rfind("Test|", 0) == 0 && Directive(rec.Key, fresh, line) &&
            line.rfind("@groep ", 0) == 0) {
            flush();
            name = FileName(files.size() + 1, records.size(), fresh.Group);
            context = TKeyContext();
        }
        if (LinesCarry(rec.Body) && Directive(rec.Key, context, line)) {
            text += line + "\n";
            AppendBody(text, rec.Body);
        } else {
            text += "@hex " + Hex(rec.Key) + " " + Hex(rec.Body) + "\n";
            context.AfterQuestion = false;
        }
        text += "\n";
    }
    flush();
    return files;
}
