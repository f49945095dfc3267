#include "tools/markup_scan.h"

#include "platform/ansi.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <set>

namespace {

constexpr std::array<std::string_view, 16> kOpenings = {
    "<B>",   "</B>",   "<I>",  "</I>",   "<U>",    "</U>", "<S>",  "</S>",
    "<FONT", "</FONT", "<IMG", "<HIDE>", "<SHOW>", "<A",   "</A>", "<INPUT"};

struct Tag {
    std::string Upper; // first 255 characters, as the control keeps them
    size_t Offset;
};

// The recognised tags of a text in order.
std::vector<Tag> Tags(std::string_view text) {
    std::vector<Tag> tags;
    for (size_t i = text.find('<'); i != std::string_view::npos; i = text.find('<', i + 1)) {
        const size_t close = text.find('>', i);
        if (close == std::string_view::npos)
            break;
        const std::string_view tag = text.substr(i, close - i + 1);
        if (!IsMarkupTag(tag))
            continue; // shown as text; scanning goes on after the "<"
        tags.push_back({plat::AnsiUpper(tag.substr(0, 255)), i});
        i = close;
    }
    return tags;
}

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

} // namespace

bool IsMarkupTag(std::string_view tag) {
    const std::string upper = plat::AnsiUpper(tag);
    for (std::string_view opening : kOpenings)
        if (StartsWith(upper, opening))
            return true;
    return false;
}

std::string TagAttribute(std::string_view tag, std::string_view name) {
    const std::string upper = plat::AnsiUpper(tag);
    const size_t at = upper.find(name);
    if (at == std::string::npos)
        return {};
    std::string_view value = std::string_view(upper).substr(at + name.size());
    while (!value.empty() && (value[0] == '"' || value[0] == '\'' || value[0] == ' '))
        value.remove_prefix(1);
    const size_t gt = value.find('>');
    size_t end = gt;
    for (char delimiter : {'"', '\'', ' '}) {
        const size_t d = value.find(delimiter);
        if (d != std::string_view::npos && d < gt) {
            end = d;
            break;
        }
    }
    return std::string(value.substr(0, end));
}

std::vector<TFoundName> PictureNames(std::string_view markup) {
    std::vector<TFoundName> names;
    for (const Tag& tag : Tags(markup)) {
        if (!StartsWith(tag.Upper, "<IMG"))
            continue;
        const std::string name = TagAttribute(tag.Upper, "NAME=");
        if (!name.empty())
            names.push_back({plat::AnsiLower(name), tag.Offset});
    }
    return names;
}

std::vector<TFoundName> LinkTargets(std::string_view markup) {
    std::vector<TFoundName> targets;
    bool open = false;
    for (const Tag& tag : Tags(markup)) {
        if (StartsWith(tag.Upper, "</A>")) {
            open = false;
        } else if (StartsWith(tag.Upper, "<A") && !open) {
            open = true;
            targets.push_back({plat::AnsiLower(TagAttribute(tag.Upper, "HREF=")), tag.Offset});
        }
    }
    return targets;
}

std::vector<TLinkContent> LinkContents(std::string_view markup) {
    std::vector<TLinkContent> links;
    const std::vector<Tag> tags = Tags(markup);
    for (size_t t = 0; t < tags.size(); ++t) {
        if (!StartsWith(tags[t].Upper, "<A") || StartsWith(tags[t].Upper, "</A>"))
            continue;
        const size_t innerStart = markup.find('>', tags[t].Offset) + 1;
        size_t innerEnd = markup.size();
        size_t next = t + 1;
        for (; next < tags.size(); ++next)
            if (StartsWith(tags[next].Upper, "</A>")) {
                innerEnd = tags[next].Offset;
                break;
            }
        links.push_back({plat::AnsiLower(TagAttribute(tags[t].Upper, "HREF=")),
                         std::string(markup.substr(innerStart, innerEnd - innerStart)),
                         tags[t].Offset});
        t = next; // a nested opening inside a link is no link of its own
    }
    return links;
}

std::string ShownChoice(std::string_view inner) {
    std::string pictures;
    for (const TFoundName& name : PictureNames(inner))
        pictures += "img:" + name.Value + ";";
    if (!pictures.empty())
        return pictures;
    std::string text;
    size_t done = 0;
    for (const Tag& tag : Tags(inner)) {
        text += inner.substr(done, tag.Offset - done);
        done = inner.find('>', tag.Offset) + 1;
    }
    text += inner.substr(std::min(done, inner.size()));
    const size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return {};
    text = text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
    // "a) zes" and "b) zes" show the same choice.
    if (text.size() >= 2 && text[1] == ')' && std::isalpha(static_cast<unsigned char>(text[0]))) {
        text.erase(0, 2);
        text.erase(0, text.find_first_not_of(' ') == std::string::npos
                          ? text.size()
                          : text.find_first_not_of(' '));
    }
    return plat::AnsiLower(text);
}

bool HasCheckBox(std::string_view markup) {
    for (const Tag& tag : Tags(markup))
        if (StartsWith(tag.Upper, "<INPUT") && TagAttribute(tag.Upper, "TYPE=") == "CHECKBOX")
            return true;
    return false;
}

TChoices QuestionChoices(std::string_view markup) {
    TChoices choices;
    for (TFoundName& link : LinkTargets(markup))
        if (!link.Value.empty())
            choices.Texts.push_back(std::move(link.Value));
    // The text control keeps one field per name: a later field of a name
    // already taken is not created, whatever its kind.
    std::set<std::string> names;
    for (const Tag& tag : Tags(markup)) {
        if (!StartsWith(tag.Upper, "<INPUT"))
            continue;
        const std::string type = TagAttribute(tag.Upper, "TYPE=");
        const std::string name = TagAttribute(tag.Upper, "NAME=");
        if (type.empty() || name.empty() || !names.insert(name).second)
            continue;
        if (type == "TEXT") {
            choices.FreeText = true;
        } else if (type == "RADIO" || type == "CHECKBOX") {
            const std::string value = plat::AnsiLower(TagAttribute(tag.Upper, "VALUE="));
            if (!value.empty())
                choices.Texts.push_back(value);
        }
    }
    return choices;
}

bool CanBeAnswered(const TChoices& choices, std::string_view answer, int length) {
    // Choices arrive in lower case, and a stored answer ends at its first "<".
    if (length < 1 || answer.find('<') != std::string_view::npos ||
        plat::AnsiLower(answer) != answer)
        return false;
    if (choices.FreeText)
        return !answer.empty();
    // reach[k] holds the answer prefix lengths made of exactly k choices.
    std::vector<std::vector<bool>> reach(size_t(length) + 1,
                                         std::vector<bool>(answer.size() + 1, false));
    reach[0][0] = true;
    for (int k = 0; k < length; ++k)
        for (size_t at = 0; at <= answer.size(); ++at) {
            if (!reach[size_t(k)][at])
                continue;
            for (const std::string& c : choices.Texts)
                if (answer.substr(at, c.size()) == c)
                    reach[size_t(k) + 1][at + c.size()] = true;
        }
    return reach[size_t(length)][answer.size()];
}
