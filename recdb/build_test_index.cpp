#include "platform/ansi.h"
#include "recdb/db_rec_file.h"

#include <unordered_map>
#include <unordered_set>

void TiDbRecFile::BuildTestIndex(TRecordIndex& index) const {
    index.Clear();
    std::vector<TKeyParts> parts(records_.size());
    for (size_t i = 0; i < records_.size(); ++i)
        parts[i] = SplitKey(records_[i].KeyText());

    // Group codes: columns 1-4 of every "Test" record that defines a group,
    // once each regardless of letter case, in order of first appearance.
    std::vector<std::string> codes;
    std::unordered_set<std::string> seen;
    std::unordered_map<std::string, size_t> groupOf; // exact spelling -> group
    for (const TKeyParts& p : parts) {
        if (p.Kind != "Test" || p.Part2.empty() || !p.Part3.empty() || !p.Part4.empty())
            continue;
        const std::string code(p.Part2.substr(0, 4));
        if (seen.insert(plat::AnsiUpper(code)).second) {
            groupOf.emplace(code, codes.size());
            codes.push_back(code);
        }
    }

    // A record belongs to every group whose code its part 2 starts with;
    // codes are one to four characters long, so four look-ups find them all.
    std::vector<std::vector<size_t>> members(codes.size());
    for (size_t i = 0; i < parts.size(); ++i) {
        if (parts[i].Kind != "Test")
            continue;
        const std::string_view code = parts[i].Part2;
        for (size_t len = 1; len <= 4 && len <= code.size(); ++len) {
            const auto it = groupOf.find(std::string(code.substr(0, len)));
            if (it != groupOf.end())
                members[it->second].push_back(i);
        }
    }

    std::string entry;
    for (size_t g = 0; g < codes.size(); ++g) {
        index.AddGroupCode(codes[g]);
        for (const size_t i : members[g]) {
            entry = std::to_string(i + 1);
            entry += '|';
            entry += parts[i].Part2;
            if (!parts[i].Part3.empty()) {
                entry += "<$i>";
                entry += parts[i].Part3;
            }
            index.Add(entry);
        }
    }
}
