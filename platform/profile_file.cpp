#include "platform/profile_file.h"

#include "platform/ansi.h"

#include <QFile>
#include <QHash>
#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <fcntl.h>
#include <memory>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_map>

namespace plat {
namespace {

using detail::ProfileWriteStage;

// Whitespace that surrounds keys and values; '\r' is included for a last line
// that ends in a lone carriage return.
constexpr std::string_view kBlanks = " \t\r\v\f";

// The program keeps a handful of profile files; beyond this many parsed
// files the least recently used one is dropped.
constexpr std::size_t kMaxCachedFiles = 16;

enum class Eol : unsigned char { None, Lf, CrLf };

struct Line {
    std::string text; // without the line break
    Eol eol = Eol::None;
};

// A section header with the lines up to the next header. The lines before the
// first header form a block without a header; a '[' line without ']' starts a
// block without a name. Neither can be reached by a section name, but both are
// written back unchanged.
struct Block {
    bool hasHeader = false;
    bool named = false;
    Line header;
    std::string name;
    std::string folded;
    std::vector<Line> lines;
    // Folded key -> index into `lines` of its first occurrence. Filled only
    // for the first block of each name, the one that is read and written.
    std::unordered_map<std::string, std::size_t> keys;
};

struct Document {
    std::vector<std::unique_ptr<Block>> blocks;
    std::unordered_map<std::string, Block*> sections; // folded name -> first block
};

struct FileId {
    dev_t dev = 0;
    ino_t ino = 0;
    off_t size = 0;
    timespec mtime{};

    bool operator==(const FileId& o) const {
        return dev == o.dev && ino == o.ino && size == o.size && mtime.tv_sec == o.mtime.tv_sec &&
               mtime.tv_nsec == o.mtime.tv_nsec;
    }
};

struct CacheEntry {
    FileId id;
    Document doc;
    std::uint64_t lastUse = 0;
};

struct QStringHasher {
    std::size_t operator()(const QString& s) const { return qHash(s); }
};

std::unordered_map<QString, std::unique_ptr<CacheEntry>, QStringHasher> g_cache;
std::uint64_t g_useClock = 0;
std::size_t g_parseCount = 0;
std::function<bool(ProfileWriteStage)> g_writeHook;

FileId IdOf(const struct stat& st) {
    return FileId{st.st_dev, st.st_ino, st.st_size, st.st_mtim};
}

std::string_view Trim(std::string_view s) {
    const std::size_t first = s.find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
        return {};
    return s.substr(first, s.find_last_not_of(kBlanks) - first + 1);
}

struct KeyLine {
    std::string_view key; // trimmed, as written
    std::string_view rawValue;
};

// A key line is any line with '=' that is neither a comment nor a header.
std::optional<KeyLine> ParseKeyLine(std::string_view text) {
    const std::size_t p = text.find_first_not_of(kBlanks);
    if (p == std::string_view::npos || text[p] == ';' || text[p] == '[')
        return std::nullopt;
    const std::size_t eq = text.find('=', p);
    if (eq == std::string_view::npos)
        return std::nullopt;
    const std::string_view key = Trim(text.substr(p, eq - p));
    if (key.empty())
        return std::nullopt;
    return KeyLine{key, text.substr(eq + 1)};
}

std::string_view CleanValue(std::string_view raw) {
    std::string_view v = Trim(raw);
    if (v.size() >= 2 && v.front() == '"' && v.back() == '"')
        v = v.substr(1, v.size() - 2);
    return v;
}

// True for a header line. `name` is set when the line has a closing ']'; the
// name then runs from the first '[' to the last ']', spaces included.
bool ParseHeader(std::string_view text, std::optional<std::string_view>& name) {
    const std::size_t p = text.find_first_not_of(" \t");
    if (p == std::string_view::npos || text[p] != '[')
        return false;
    const std::size_t last = text.rfind(']');
    if (last == std::string_view::npos || last <= p)
        name.reset();
    else
        name = text.substr(p + 1, last - p - 1);
    return true;
}

void IndexKeys(Block& block) {
    block.keys.clear();
    for (std::size_t i = 0; i < block.lines.size(); ++i)
        if (const auto kl = ParseKeyLine(block.lines[i].text))
            block.keys.try_emplace(AnsiUpper(kl->key), i);
}

bool IsPrimary(const Document& doc, const Block& block) {
    if (!block.named)
        return false;
    const auto it = doc.sections.find(block.folded);
    return it != doc.sections.end() && it->second == &block;
}

Document EmptyDocument() {
    Document doc;
    doc.blocks.push_back(std::make_unique<Block>());
    return doc;
}

Document Parse(std::string_view content) {
    Document doc = EmptyDocument();
    std::size_t pos = 0;
    while (pos < content.size()) {
        Line line;
        const std::size_t nl = content.find('\n', pos);
        if (nl == std::string_view::npos) {
            line.text.assign(content.substr(pos));
            pos = content.size();
        } else {
            std::size_t end = nl;
            line.eol = Eol::Lf;
            if (end > pos && content[end - 1] == '\r') {
                --end;
                line.eol = Eol::CrLf;
            }
            line.text.assign(content.substr(pos, end - pos));
            pos = nl + 1;
        }
        std::optional<std::string_view> name;
        if (!ParseHeader(line.text, name)) {
            doc.blocks.back()->lines.push_back(std::move(line));
            continue;
        }
        auto block = std::make_unique<Block>();
        block->hasHeader = true;
        if (name) {
            block->named = true;
            block->name.assign(*name);
            block->folded = AnsiUpper(*name);
            doc.sections.try_emplace(block->folded, block.get());
        }
        block->header = std::move(line);
        doc.blocks.push_back(std::move(block));
    }
    for (const auto& [folded, block] : doc.sections)
        IndexKeys(*block);
    return doc;
}

void AppendLine(std::string& out, const Line& line) {
    out += line.text;
    if (line.eol == Eol::CrLf)
        out += "\r\n";
    else if (line.eol == Eol::Lf)
        out += '\n';
}

std::string Serialize(const Document& doc) {
    std::size_t size = 0;
    for (const auto& block : doc.blocks) {
        size += block->header.text.size() + 2;
        for (const Line& line : block->lines)
            size += line.text.size() + 2;
    }
    std::string out;
    out.reserve(size);
    for (const auto& block : doc.blocks) {
        if (block->hasHeader)
            AppendLine(out, block->header);
        for (const Line& line : block->lines)
            AppendLine(out, line);
    }
    return out;
}

// The file's last line, which is the only one that may lack a line break.
Line* LastLine(Document& doc) {
    for (auto it = doc.blocks.rbegin(); it != doc.blocks.rend(); ++it) {
        Block& block = **it;
        if (!block.lines.empty())
            return &block.lines.back();
        if (block.hasHeader)
            return &block.header;
    }
    return nullptr;
}

Block* FindSection(Document& doc, const std::string& folded) {
    const auto it = doc.sections.find(folded);
    return it == doc.sections.end() ? nullptr : it->second;
}

// ---- Files on disk -------------------------------------------------------

bool ReadAll(int fd, std::string& out, std::size_t expected) {
    out.resize(std::max<std::size_t>(expected, 4096));
    std::size_t got = 0;
    for (;;) {
        if (got == out.size())
            out.resize(out.size() * 2);
        const ssize_t n = ::read(fd, out.data() + got, out.size() - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0)
            break;
        got += std::size_t(n);
    }
    out.resize(got);
    return true;
}

bool WriteAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        size -= std::size_t(n);
    }
    return true;
}

bool RunHook(ProfileWriteStage stage) {
    return !g_writeHook || g_writeHook(stage);
}

// Writes `content` to a temporary file beside `path`, flushes it to disk and
// renames it over `path`, so that readers and a crash see either the old or
// the new file. `id` receives the identity of the new file.
bool ReplaceFile(const QByteArray& path, const std::string& content, FileId& id) {
    std::string target = path.toStdString();
    struct stat st {};
    // Replace what a symbolic link points at rather than the link itself.
    if (::lstat(target.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        char* real = ::realpath(target.c_str(), nullptr);
        if (!real)
            return false;
        target = real;
        std::free(real);
    }
    const bool exists = ::stat(target.c_str(), &st) == 0;
    // A read-only file stays as it is, as it would if it were written in place.
    if (exists && ::access(target.c_str(), W_OK) != 0)
        return false;

    const std::size_t slash = target.rfind('/');
    const std::string dir =
        slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
    const std::string base = target.substr(dir.size());
    static unsigned counter = 0;
    std::string temp;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temp =
            dir + '.' + base + ".~" + std::to_string(::getpid()) + '-' + std::to_string(++counter);
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            return false;
    }
    if (fd < 0)
        return false;

    const std::size_t half = content.size() / 2;
    struct stat written {};
    bool ok = (!exists || ::fchmod(fd, st.st_mode & 07777) == 0) &&
              WriteAll(fd, content.data(), half) && RunHook(ProfileWriteStage::HalfWritten) &&
              WriteAll(fd, content.data() + half, content.size() - half) && ::fsync(fd) == 0 &&
              RunHook(ProfileWriteStage::Synced) && ::fstat(fd, &written) == 0;
    ok = ::close(fd) == 0 && ok;
    if (!ok || ::rename(temp.c_str(), target.c_str()) != 0) {
        ::unlink(temp.c_str());
        return false;
    }
    id = IdOf(written);
    // Make the rename itself durable; the new content is complete either way.
    const int dirFd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return true;
}

void Store(const QString& file, std::unique_ptr<CacheEntry> entry) {
    if (g_cache.size() >= kMaxCachedFiles && !g_cache.count(file)) {
        auto oldest = std::min_element(g_cache.begin(), g_cache.end(), [](auto& a, auto& b) {
            return a.second->lastUse < b.second->lastUse;
        });
        g_cache.erase(oldest);
    }
    g_cache[file] = std::move(entry);
}

enum class LoadState { Loaded, Missing, Unreadable };

// The cached parse of `file`, read again when the file's identity changed.
LoadState Load(const QString& file, CacheEntry*& entry) {
    entry = nullptr;
    if (file.isEmpty())
        return LoadState::Missing;
    const QByteArray path = QFile::encodeName(file);
    struct stat st {};
    if (::stat(path.constData(), &st) != 0) {
        g_cache.erase(file);
        return errno == ENOENT || errno == ENOTDIR ? LoadState::Missing : LoadState::Unreadable;
    }
    const auto it = g_cache.find(file);
    if (it != g_cache.end() && S_ISREG(st.st_mode) && it->second->id == IdOf(st)) {
        entry = it->second.get();
        entry->lastUse = ++g_useClock;
        return LoadState::Loaded;
    }
    g_cache.erase(file);
    if (!S_ISREG(st.st_mode))
        return LoadState::Unreadable;

    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOENT ? LoadState::Missing : LoadState::Unreadable;
    // The identity is taken before reading, so a change while we read shows
    // up as a different identity next time.
    std::string content;
    const bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) &&
                    ReadAll(fd, content, std::size_t(st.st_size));
    ::close(fd);
    if (!ok)
        return LoadState::Unreadable;

    auto fresh = std::make_unique<CacheEntry>();
    fresh->id = IdOf(st);
    fresh->doc = Parse(content);
    fresh->lastUse = ++g_useClock;
    ++g_parseCount;
    entry = fresh.get();
    Store(file, std::move(fresh));
    return LoadState::Loaded;
}

// Applies `edit` to the file's parse and writes the result. `edit` returns
// false when it changed nothing; the file is then left alone. A failed write
// drops the cached parse, which may already hold the edit.
template <typename Edit> bool Modify(const QString& file, Edit edit) {
    CacheEntry* entry = nullptr;
    const LoadState state = Load(file, entry);
    if (state == LoadState::Unreadable || file.isEmpty())
        return false;
    std::unique_ptr<CacheEntry> fresh;
    if (!entry) {
        fresh = std::make_unique<CacheEntry>();
        fresh->doc = EmptyDocument();
        entry = fresh.get();
    }
    if (!edit(entry->doc))
        return true;
    FileId id;
    if (!ReplaceFile(QFile::encodeName(file), Serialize(entry->doc), id)) {
        g_cache.erase(file);
        return false;
    }
    entry->id = id;
    entry->lastUse = ++g_useClock;
    if (fresh)
        Store(file, std::move(fresh));
    return true;
}

bool HasLineBreak(std::string_view s) {
    return s.find_first_of("\r\n") != std::string_view::npos;
}

// ---- Edits ---------------------------------------------------------------

bool SetKey(Document& doc, std::string_view section, std::string_view key, std::string_view value) {
    const std::string text = std::string(key) + '=' + std::string(value);
    Block* block = FindSection(doc, AnsiUpper(section));
    if (!block) {
        if (Line* last = LastLine(doc); last && last->eol == Eol::None)
            last->eol = Eol::CrLf;
        auto fresh = std::make_unique<Block>();
        fresh->hasHeader = true;
        fresh->named = true;
        fresh->header = Line{'[' + std::string(section) + ']', Eol::CrLf};
        fresh->name.assign(section);
        fresh->folded = AnsiUpper(section);
        fresh->lines.push_back(Line{text, Eol::CrLf});
        IndexKeys(*fresh);
        doc.sections.emplace(fresh->folded, fresh.get());
        doc.blocks.push_back(std::move(fresh));
        return true;
    }
    if (const auto it = block->keys.find(AnsiUpper(key)); it != block->keys.end()) {
        Line& line = block->lines[it->second];
        // Keep the key as it was spelt in the file.
        std::string changed = std::string(ParseKeyLine(line.text)->key) + '=' + std::string(value);
        if (changed == line.text)
            return false;
        line.text = std::move(changed);
        return true;
    }
    // New keys go after the section's last key, so trailing blank lines and
    // comments stay with the next section.
    std::size_t at = 0;
    for (std::size_t i = 0; i < block->lines.size(); ++i)
        if (ParseKeyLine(block->lines[i].text))
            at = i + 1;
    Line& before = at == 0 ? block->header : block->lines[at - 1];
    if (before.eol == Eol::None)
        before.eol = Eol::CrLf;
    block->lines.insert(block->lines.begin() + std::ptrdiff_t(at), Line{text, Eol::CrLf});
    IndexKeys(*block);
    return true;
}

bool RemoveKey(Document& doc, std::string_view section, std::string_view key) {
    Block* block = FindSection(doc, AnsiUpper(section));
    if (!block || !block->keys.count(AnsiUpper(key)))
        return false;
    // Every occurrence goes, so that no older duplicate shows up afterwards.
    std::erase_if(block->lines, [&](const Line& line) {
        const auto kl = ParseKeyLine(line.text);
        return kl && AnsiSameText(kl->key, key);
    });
    IndexKeys(*block);
    return true;
}

bool RemoveSection(Document& doc, std::string_view section) {
    const std::string folded = AnsiUpper(section);
    if (!doc.sections.erase(folded))
        return false;
    std::erase_if(doc.blocks, [&](const std::unique_ptr<Block>& block) {
        return block->named && block->folded == folded;
    });
    return true;
}

// ---- Reading a parsed document ---------------------------------------------

std::string ReadKey(const Document& doc, std::string_view section, std::string_view key,
                    std::string_view def) {
    const auto sec = doc.sections.find(AnsiUpper(section));
    if (sec == doc.sections.end())
        return std::string(def);
    const Block* block = sec->second;
    const auto it = block->keys.find(AnsiUpper(Trim(key)));
    if (it == block->keys.end())
        return std::string(def);
    return std::string(CleanValue(ParseKeyLine(block->lines[it->second].text)->rawValue));
}

std::vector<std::string> SectionNames(const Document& doc) {
    std::vector<std::string> names;
    for (const auto& block : doc.blocks)
        if (IsPrimary(doc, *block))
            names.push_back(block->name);
    return names;
}

std::vector<std::pair<std::string, std::string>> SectionPairs(const Document& doc,
                                                              std::string_view section) {
    std::vector<std::pair<std::string, std::string>> pairs;
    const auto sec = doc.sections.find(AnsiUpper(section));
    if (sec == doc.sections.end())
        return pairs;
    const Block* block = sec->second;
    for (std::size_t i = 0; i < block->lines.size(); ++i) {
        const auto kl = ParseKeyLine(block->lines[i].text);
        if (kl && block->keys.at(AnsiUpper(kl->key)) == i)
            pairs.emplace_back(std::string(kl->key), std::string(CleanValue(kl->rawValue)));
    }
    return pairs;
}

} // namespace

std::string ReadProfileString(const QString& file, std::string_view section, std::string_view key,
                              std::string_view def) {
    CacheEntry* entry = nullptr;
    if (Load(file, entry) != LoadState::Loaded)
        return std::string(def);
    return ReadKey(entry->doc, section, key, def);
}

// Reading trims blanks and drops one pair of enclosing quotes; a value that
// would change that way is stored inside quotes, so it reads back as written.
std::string StoredValue(std::string_view value) {
    const bool blankEnd = Trim(value).size() != value.size();
    const bool quoted = value.size() >= 2 && value.front() == '"' && value.back() == '"';
    return blankEnd || quoted ? '"' + std::string(value) + '"' : std::string(value);
}

bool WriteProfileString(const QString& file, std::string_view section, std::string_view key,
                        std::string_view value) {
    key = Trim(key);
    if (key.empty() || key.front() == '[' || key.front() == ';' ||
        key.find('=') != std::string_view::npos || HasLineBreak(key) || HasLineBreak(section) ||
        HasLineBreak(value))
        return false;
    const std::string stored = StoredValue(value);
    return Modify(file, [&](Document& doc) { return SetKey(doc, section, key, stored); });
}

bool DeleteProfileKey(const QString& file, std::string_view section, std::string_view key) {
    key = Trim(key);
    return Modify(file, [&](Document& doc) { return RemoveKey(doc, section, key); });
}

bool EraseProfileSection(const QString& file, std::string_view section) {
    return Modify(file, [&](Document& doc) { return RemoveSection(doc, section); });
}

std::vector<std::string> ReadProfileSections(const QString& file) {
    CacheEntry* entry = nullptr;
    if (Load(file, entry) != LoadState::Loaded)
        return {};
    return SectionNames(entry->doc);
}

std::vector<std::pair<std::string, std::string>> ReadProfileSection(const QString& file,
                                                                    std::string_view section) {
    CacheEntry* entry = nullptr;
    if (Load(file, entry) != LoadState::Loaded)
        return {};
    return SectionPairs(entry->doc, section);
}

struct TProfileText::Parsed {
    Document doc;
};

TProfileText::TProfileText(std::string_view content)
    : parsed_(std::make_unique<Parsed>(Parsed{Parse(content)})) {}

TProfileText::~TProfileText() = default;
TProfileText::TProfileText(TProfileText&&) noexcept = default;
TProfileText& TProfileText::operator=(TProfileText&&) noexcept = default;

std::string TProfileText::Read(std::string_view section, std::string_view key,
                               std::string_view def) const {
    return ReadKey(parsed_->doc, section, key, def);
}

std::vector<std::string> TProfileText::Sections() const {
    return SectionNames(parsed_->doc);
}

std::vector<std::pair<std::string, std::string>>
TProfileText::Section(std::string_view section) const {
    return SectionPairs(parsed_->doc, section);
}

void ClearProfileCache() {
    g_cache.clear();
}

namespace detail {

void SetProfileWriteHook(std::function<bool(ProfileWriteStage)> hook) {
    g_writeHook = std::move(hook);
}

std::size_t ProfileParseCount() {
    return g_parseCount;
}

} // namespace detail
} // namespace plat
