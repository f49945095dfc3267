#include "platform/profile_file.h"

#include "platform/ansi.h"
#include "platform/numbers.h"

#include <QFile>
#include <QHash>
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <optional>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_map>

namespace plat {
namespace {

using detail::ProfileWriteStage;

// Whitespace that surrounds keys and values.
constexpr std::string_view kBlanks = " \t\r\v\f";
constexpr std::string_view kBom = "\xEF\xBB\xBF";

// The program keeps a handful of profile files; beyond this many parsed
// files the least recently used one is dropped.
constexpr std::size_t kMaxCachedFiles = 16;

// Edits append their text to the document's buffer until the next write
// compacts it; a batch that would push offsets past this is refused.
constexpr std::size_t kMaxBufferBytes = std::size_t(1) << 31;

enum class Eol : unsigned char { None, Lf, CrLf, Cr };

// A line is a slice of the document's buffer, without its line break. Eight
// bytes a line keeps a parsed file close to the size of the file itself.
struct Line {
    std::uint32_t off = 0;
    std::uint32_t len : 30 = 0;
    std::uint32_t eol : 2 = 0;

    Eol End() const { return Eol(eol); }
};

// Folded-name hash -> index (of a block, or of a line in a block), kept
// sorted by hash and then index, so the first match is the first occurrence.
struct IndexEntry {
    std::uint32_t hash = 0;
    std::uint32_t at = 0;
    bool operator<(const IndexEntry& o) const { return hash != o.hash ? hash < o.hash : at < o.at; }
};

// A section header with the lines up to the next header. The lines before the
// first header form a block without a header; a '[' line without ']' starts a
// block without a name. Neither can be reached by a section name, but both are
// written back unchanged.
struct Block {
    Line header;
    bool hasHeader = false;
    bool named = false;
    std::uint32_t nameStart = 0; // within the header line
    std::uint32_t nameLen = 0;
    std::vector<Line> lines;
    std::vector<IndexEntry> keys; // first occurrence of each key, named blocks only
};

struct Document {
    std::string buf;
    bool bom = false; // a UTF-8 byte order mark came first and is written back
    std::vector<Block> blocks;
    std::vector<IndexEntry> sections;
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

// While a parse is cached, the file it came from stays open, so that its
// inode cannot be freed and handed to a newer file that would then look
// unchanged (same inode, size and coarse modification time).
struct CacheEntry {
    FileId id;
    Document doc;
    std::uint64_t lastUse = 0;
    int pin = -1;

    CacheEntry() = default;
    CacheEntry(const CacheEntry&) = delete;
    CacheEntry& operator=(const CacheEntry&) = delete;
    ~CacheEntry() { Pin(-1); }
    void Pin(int fd) {
        if (pin >= 0)
            ::close(pin);
        pin = fd;
    }
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

std::uint32_t FoldHash(std::string_view s) {
    std::uint32_t h = 2166136261u;
    for (const char c : s)
        h = (h ^ std::uint8_t(AnsiUpperChar(c))) * 16777619u;
    return h;
}

std::string_view Text(const Document& doc, const Line& line) {
    return std::string_view(doc.buf).substr(line.off, line.len);
}

std::string_view NameOf(const Document& doc, const Block& block) {
    return Text(doc, block.header).substr(block.nameStart, block.nameLen);
}

Line NewLine(Document& doc, std::string_view text, Eol eol) {
    Line line;
    line.off = std::uint32_t(doc.buf.size());
    line.len = std::uint32_t(text.size());
    line.eol = std::uint32_t(eol);
    doc.buf.append(text);
    return line;
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

void IndexKeys(const Document& doc, Block& block) {
    block.keys.clear();
    if (!block.named)
        return;
    for (std::size_t i = 0; i < block.lines.size(); ++i)
        if (const auto kl = ParseKeyLine(Text(doc, block.lines[i])))
            block.keys.push_back({FoldHash(kl->key), std::uint32_t(i)});
    std::sort(block.keys.begin(), block.keys.end());
    block.keys.shrink_to_fit();
}

void IndexSections(Document& doc) {
    doc.sections.clear();
    for (std::size_t i = 0; i < doc.blocks.size(); ++i)
        if (doc.blocks[i].named)
            doc.sections.push_back({FoldHash(NameOf(doc, doc.blocks[i])), std::uint32_t(i)});
    std::sort(doc.sections.begin(), doc.sections.end());
}

// Index of the first block named `name` (any letter case), or -1.
std::ptrdiff_t FindSection(const Document& doc, std::string_view name) {
    const IndexEntry probe{FoldHash(name), 0};
    for (auto it = std::lower_bound(doc.sections.begin(), doc.sections.end(), probe);
         it != doc.sections.end() && it->hash == probe.hash; ++it)
        if (AnsiSameText(NameOf(doc, doc.blocks[it->at]), name))
            return it->at;
    return -1;
}

// Index in `block.lines` of the first line of `key`, or -1.
std::ptrdiff_t FindKey(const Document& doc, const Block& block, std::string_view key) {
    const IndexEntry probe{FoldHash(key), 0};
    for (auto it = std::lower_bound(block.keys.begin(), block.keys.end(), probe);
         it != block.keys.end() && it->hash == probe.hash; ++it)
        if (AnsiSameText(ParseKeyLine(Text(doc, block.lines[it->at]))->key, key))
            return it->at;
    return -1;
}

bool IsPrimary(const Document& doc, std::size_t index) {
    const Block& block = doc.blocks[index];
    return block.named && FindSection(doc, NameOf(doc, block)) == std::ptrdiff_t(index);
}

Document EmptyDocument() {
    Document doc;
    doc.blocks.emplace_back();
    return doc;
}

// Lines end in LF, CR LF or a lone CR; the last one may have no end at all.
Document Parse(std::string content) {
    Document doc = EmptyDocument();
    doc.buf = std::move(content);
    std::size_t pos = 0;
    if (std::string_view(doc.buf).starts_with(kBom)) {
        doc.bom = true;
        pos = kBom.size();
    }
    const std::string_view all = doc.buf;
    while (pos < all.size()) {
        Line line;
        line.off = std::uint32_t(pos);
        const std::size_t brk = all.find_first_of("\r\n", pos);
        if (brk == std::string_view::npos) {
            line.len = std::uint32_t(all.size() - pos);
            pos = all.size();
        } else {
            line.len = std::uint32_t(brk - pos);
            if (all[brk] == '\n') {
                line.eol = std::uint32_t(Eol::Lf);
                pos = brk + 1;
            } else if (brk + 1 < all.size() && all[brk + 1] == '\n') {
                line.eol = std::uint32_t(Eol::CrLf);
                pos = brk + 2;
            } else {
                line.eol = std::uint32_t(Eol::Cr);
                pos = brk + 1;
            }
        }
        const std::string_view text = all.substr(line.off, line.len);
        std::optional<std::string_view> name;
        if (!ParseHeader(text, name)) {
            doc.blocks.back().lines.push_back(line);
            continue;
        }
        doc.blocks.back().lines.shrink_to_fit();
        Block& block = doc.blocks.emplace_back();
        block.hasHeader = true;
        block.header = line;
        if (name) {
            block.named = true;
            block.nameStart = std::uint32_t(name->data() - text.data());
            block.nameLen = std::uint32_t(name->size());
        }
    }
    doc.blocks.back().lines.shrink_to_fit();
    doc.blocks.shrink_to_fit();
    IndexSections(doc);
    for (std::size_t i = 0; i < doc.blocks.size(); ++i)
        if (IsPrimary(doc, i))
            IndexKeys(doc, doc.blocks[i]);
    return doc;
}

const char* EolText(Eol eol) {
    switch (eol) {
    case Eol::CrLf:
        return "\r\n";
    case Eol::Lf:
        return "\n";
    case Eol::Cr:
        return "\r";
    case Eol::None:
        break;
    }
    return "";
}

std::size_t SerializedSize(const Document& doc) {
    std::size_t size = doc.bom ? kBom.size() : 0;
    for (const Block& block : doc.blocks) {
        if (block.hasHeader)
            size += block.header.len + 2;
        for (const Line& line : block.lines)
            size += line.len + 2;
    }
    return size;
}

// The file's text. The document's lines are moved to their places in it, so
// that it can become the document's buffer and the edits' leftovers go.
std::string Serialize(Document& doc) {
    std::string out;
    out.reserve(SerializedSize(doc));
    if (doc.bom)
        out += kBom;
    auto put = [&](Line& line) {
        const std::size_t at = out.size();
        out += Text(doc, line);
        out += EolText(line.End());
        line.off = std::uint32_t(at);
    };
    for (Block& block : doc.blocks) {
        if (block.hasHeader)
            put(block.header);
        for (Line& line : block.lines)
            put(line);
    }
    return out;
}

// The file's last line, which is the only one that may lack a line break.
Line* LastLine(Document& doc) {
    for (auto it = doc.blocks.rbegin(); it != doc.blocks.rend(); ++it) {
        if (!it->lines.empty())
            return &it->lines.back();
        if (it->hasHeader)
            return &it->header;
    }
    return nullptr;
}

void EndLine(Line* line) {
    if (line && line->End() == Eol::None)
        line->eol = std::uint32_t(Eol::CrLf);
}

// ---- Edits ---------------------------------------------------------------

bool SetKey(Document& doc, std::string_view section, std::string_view key, std::string_view value) {
    const std::string text = std::string(key) + '=' + std::string(value);
    const std::ptrdiff_t at = FindSection(doc, section);
    if (at < 0) {
        EndLine(LastLine(doc));
        Block block;
        block.hasHeader = true;
        block.named = true;
        block.header = NewLine(doc, '[' + std::string(section) + ']', Eol::CrLf);
        block.nameStart = 1;
        block.nameLen = std::uint32_t(section.size());
        block.lines.push_back(NewLine(doc, text, Eol::CrLf));
        doc.blocks.push_back(std::move(block));
        IndexKeys(doc, doc.blocks.back());
        IndexSections(doc);
        return true;
    }
    Block& block = doc.blocks[std::size_t(at)];
    if (const std::ptrdiff_t k = FindKey(doc, block, key); k >= 0) {
        Line& line = block.lines[std::size_t(k)];
        // Keep the key as it was spelt in the file.
        const std::string changed =
            std::string(ParseKeyLine(Text(doc, line))->key) + '=' + std::string(value);
        if (changed == Text(doc, line))
            return false;
        const Eol eol = line.End();
        line = NewLine(doc, changed, eol);
        return true;
    }
    // New keys go after the section's last key, so trailing blank lines and
    // comments stay with the next section.
    std::size_t pos = 0;
    for (std::size_t i = 0; i < block.lines.size(); ++i)
        if (ParseKeyLine(Text(doc, block.lines[i])))
            pos = i + 1;
    EndLine(pos == 0 ? &block.header : &block.lines[pos - 1]);
    block.lines.insert(block.lines.begin() + std::ptrdiff_t(pos), NewLine(doc, text, Eol::CrLf));
    IndexKeys(doc, block);
    return true;
}

bool RemoveKey(Document& doc, std::string_view section, std::string_view key) {
    const std::ptrdiff_t at = FindSection(doc, section);
    if (at < 0)
        return false;
    Block& block = doc.blocks[std::size_t(at)];
    if (FindKey(doc, block, key) < 0)
        return false;
    // Every occurrence goes, so that no older duplicate shows up afterwards.
    std::erase_if(block.lines, [&](const Line& line) {
        const auto kl = ParseKeyLine(Text(doc, line));
        return kl && AnsiSameText(kl->key, key);
    });
    IndexKeys(doc, block);
    return true;
}

bool RemoveSection(Document& doc, std::string_view section) {
    if (FindSection(doc, section) < 0)
        return false;
    std::erase_if(doc.blocks, [&](const Block& block) {
        return block.named && AnsiSameText(NameOf(doc, block), section);
    });
    IndexSections(doc);
    return true;
}

// ---- Reading a parsed document ---------------------------------------------

std::string ReadKey(const Document& doc, std::string_view section, std::string_view key,
                    std::string_view def) {
    const std::ptrdiff_t at = FindSection(doc, section);
    if (at < 0)
        return std::string(def);
    const Block& block = doc.blocks[std::size_t(at)];
    const std::ptrdiff_t k = FindKey(doc, block, Trim(key));
    if (k < 0)
        return std::string(def);
    return std::string(CleanValue(ParseKeyLine(Text(doc, block.lines[std::size_t(k)]))->rawValue));
}

std::vector<std::string> SectionNames(const Document& doc) {
    std::vector<std::string> names;
    for (std::size_t i = 0; i < doc.blocks.size(); ++i)
        if (IsPrimary(doc, i))
            names.emplace_back(NameOf(doc, doc.blocks[i]));
    return names;
}

std::vector<std::pair<std::string, std::string>> SectionPairs(const Document& doc,
                                                              std::string_view section) {
    std::vector<std::pair<std::string, std::string>> pairs;
    const std::ptrdiff_t at = FindSection(doc, section);
    if (at < 0)
        return pairs;
    const Block& block = doc.blocks[std::size_t(at)];
    for (std::size_t i = 0; i < block.lines.size(); ++i) {
        const auto kl = ParseKeyLine(Text(doc, block.lines[i]));
        if (kl && FindKey(doc, block, kl->key) == std::ptrdiff_t(i))
            pairs.emplace_back(std::string(kl->key), std::string(CleanValue(kl->rawValue)));
    }
    return pairs;
}

std::size_t DocFootprint(const Document& doc) {
    std::size_t bytes = doc.buf.capacity() + doc.blocks.capacity() * sizeof(Block) +
                        doc.sections.capacity() * sizeof(IndexEntry);
    for (const Block& block : doc.blocks)
        bytes += block.lines.capacity() * sizeof(Line) + block.keys.capacity() * sizeof(IndexEntry);
    return bytes;
}

// ---- Files on disk -------------------------------------------------------

enum class ReadResult { Ok, Failed, TooLarge };

// Reads at most the size limit; one byte more tells that the file is larger.
ReadResult ReadAll(int fd, std::string& out, std::size_t expected) {
    const std::size_t limit = kMaxProfileBytes + 1;
    out.clear();
    out.resize(std::min(expected, kMaxProfileBytes) + 1);
    std::size_t got = 0;
    for (;;) {
        if (got == out.size()) {
            if (out.size() >= limit)
                return ReadResult::TooLarge;
            out.resize(std::min(out.size() * 2, limit));
        }
        const ssize_t n = ::read(fd, out.data() + got, out.size() - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return ReadResult::Failed;
        if (n == 0)
            break;
        got += std::size_t(n);
    }
    if (got > kMaxProfileBytes)
        return ReadResult::TooLarge;
    out.resize(got);
    if (out.capacity() > got + got / 8)
        out.shrink_to_fit();
    return ReadResult::Ok;
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

// What a write replaces: the file itself, or what a symbolic link points at.
std::optional<std::string> WriteTarget(const QString& file) {
    std::string target = QFile::encodeName(file).toStdString();
    struct stat st {};
    if (::lstat(target.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        char* real = ::realpath(target.c_str(), nullptr);
        if (!real)
            return std::nullopt;
        target = real;
        std::free(real);
    }
    return target;
}

std::pair<std::string, std::string> SplitPath(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return {std::string(), path};
    return {path.substr(0, slash + 1), path.substr(slash + 1)};
}

// Temporary files beside <base> are named ".<base>.~<pid>-<anything>", so
// that RemoveStaleProfileTemps can tell whether their writer still runs.
std::string TempPrefix(const std::string& base) {
    return '.' + base + ".~";
}
std::string OwnTempPrefix(const std::string& base) {
    return TempPrefix(base) + std::to_string(::getpid()) + '-';
}

// An exclusive advisory lock on a file beside the profile file, held for one
// read-change-write, so that writers in other processes wait rather than
// overwrite each other's changes. The lock file itself is never removed: a
// waiting writer would otherwise lock a file that nobody else sees any more.
class TWriteLock {
public:
    TWriteLock(const std::string& target, mode_t mode) {
        const auto [dir, base] = SplitPath(target);
        const std::string path = dir + '.' + base + ".lock";
        // Read-only is enough for flock, so a lock file made by another
        // account of a shared installation still serves.
        fd_ = ::open(path.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC, mode);
        if (fd_ < 0)
            return;
        while (::flock(fd_, LOCK_EX) != 0 && errno == EINTR) {
        }
    }
    ~TWriteLock() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    TWriteLock(const TWriteLock&) = delete;
    TWriteLock& operator=(const TWriteLock&) = delete;

private:
    int fd_ = -1;
};

// Writes `content` to a temporary file beside `target`, flushes it to disk and
// renames it over `target`, so that readers and a crash see either the old or
// the new file. `id` receives the identity of the new file.
// `pin` receives a read-only descriptor of the new file for the cache.
bool ReplaceFile(const std::string& target, const std::string& content, mode_t newMode, FileId& id,
                 int& pin) {
    struct stat st {};
    const bool exists = ::stat(target.c_str(), &st) == 0;
    // A read-only file stays as it is, as it would if it were written in place.
    if (exists && ::access(target.c_str(), W_OK) != 0)
        return false;

    const auto [dir, base] = SplitPath(target);
    static unsigned counter = 0;
    std::string temp;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temp = dir + OwnTempPrefix(base) + std::to_string(++counter);
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, newMode);
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
    const int reader = ok ? ::open(temp.c_str(), O_RDONLY | O_CLOEXEC) : -1;
    if (reader < 0 || ::rename(temp.c_str(), target.c_str()) != 0) {
        if (reader >= 0)
            ::close(reader);
        ::unlink(temp.c_str());
        return false;
    }
    id = IdOf(written);
    pin = reader;
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

// A file above the size limit reads as missing but is never written over.
enum class LoadState { Loaded, Missing, Unreadable, TooLarge };

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
    if (std::uint64_t(st.st_size) > kMaxProfileBytes)
        return LoadState::TooLarge;

    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOENT ? LoadState::Missing : LoadState::Unreadable;
    // The identity is taken before reading, so a change while we read shows
    // up as a different identity next time.
    auto fresh = std::make_unique<CacheEntry>();
    fresh->Pin(fd);
    std::string content;
    ReadResult read = ReadResult::Failed;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode))
        read = ReadAll(fd, content, std::size_t(st.st_size));
    if (read == ReadResult::TooLarge)
        return LoadState::TooLarge;
    if (read != ReadResult::Ok)
        return LoadState::Unreadable;
    fresh->id = IdOf(st);
    fresh->doc = Parse(std::move(content));
    fresh->lastUse = ++g_useClock;
    ++g_parseCount;
    entry = fresh.get();
    Store(file, std::move(fresh));
    return LoadState::Loaded;
}

bool HasLineBreak(std::string_view s) {
    return s.find_first_of("\r\n") != std::string_view::npos;
}

bool StorableKey(std::string_view key) {
    return !key.empty() && key.front() != '[' && key.front() != ';' &&
           key.find('=') == std::string_view::npos && !HasLineBreak(key);
}

// Reading trims blanks and drops one pair of enclosing quotes; a value that
// would change that way is stored inside quotes, so it reads back as written.
std::string StoredValue(std::string_view value) {
    const bool blankEnd = Trim(value).size() != value.size();
    const bool quoted = value.size() >= 2 && value.front() == '"' && value.back() == '"';
    return blankEnd || quoted ? '"' + std::string(value) + '"' : std::string(value);
}

} // namespace

// ---- A batch of changes ---------------------------------------------------

struct TProfileEdit::State {
    Document& doc;
    bool changed = false;
    bool refused = false;
};

TProfileEdit::TProfileEdit(State& state) : state_(state) {}

std::string TProfileEdit::Read(std::string_view section, std::string_view key,
                               std::string_view def) const {
    return ReadKey(state_.doc, section, key, def);
}

std::vector<std::string> TProfileEdit::Sections() const {
    return SectionNames(state_.doc);
}

std::vector<std::pair<std::string, std::string>>
TProfileEdit::Section(std::string_view section) const {
    return SectionPairs(state_.doc, section);
}

bool TProfileEdit::Write(std::string_view section, std::string_view key, std::string_view value) {
    // A line break anywhere in the key is refused, also where trimming
    // would take it away.
    if (HasLineBreak(key)) {
        state_.refused = true;
        return false;
    }
    key = Trim(key);
    if (!StorableKey(key) || HasLineBreak(section) || HasLineBreak(value) ||
        state_.doc.buf.size() + section.size() + key.size() + value.size() + 8 >= kMaxBufferBytes) {
        state_.refused = true;
        return false;
    }
    state_.changed |= SetKey(state_.doc, section, key, StoredValue(value));
    return true;
}

void TProfileEdit::DeleteKey(std::string_view section, std::string_view key) {
    state_.changed |= RemoveKey(state_.doc, section, Trim(key));
}

void TProfileEdit::EraseSection(std::string_view section) {
    state_.changed |= RemoveSection(state_.doc, section);
}

bool EditProfile(const QString& file, const std::function<bool(TProfileEdit&)>& change,
                 TProfileFileMode mode) {
    if (file.isEmpty())
        return false;
    const std::optional<std::string> target = WriteTarget(file);
    if (!target)
        return false;
    const mode_t newMode = mode == TProfileFileMode::Private ? 0600 : 0666;
    const TWriteLock lock(*target, newMode & 0644);

    CacheEntry* entry = nullptr;
    const LoadState state = Load(file, entry);
    if (state == LoadState::Unreadable || state == LoadState::TooLarge)
        return false;
    std::unique_ptr<CacheEntry> fresh;
    if (!entry) {
        fresh = std::make_unique<CacheEntry>();
        fresh->doc = EmptyDocument();
        entry = fresh.get();
    }
    TProfileEdit::State edit{entry->doc};
    TProfileEdit editor(edit);
    const bool wanted = change(editor);
    if (!wanted || edit.refused) {
        // The cached parse may hold part of the batch.
        if (edit.changed)
            g_cache.erase(file);
        return false;
    }
    if (!edit.changed)
        return true;
    // A file too large to be read again is not written either.
    FileId id;
    int pin = -1;
    if (SerializedSize(entry->doc) > kMaxProfileBytes + 2) {
        g_cache.erase(file);
        return false;
    }
    std::string content = Serialize(entry->doc);
    if (content.size() > kMaxProfileBytes || !ReplaceFile(*target, content, newMode, id, pin)) {
        g_cache.erase(file);
        return false;
    }
    entry->doc.buf = std::move(content);
    entry->id = id;
    entry->Pin(pin);
    entry->lastUse = ++g_useClock;
    if (fresh)
        Store(file, std::move(fresh));
    return true;
}

std::string ReadProfileString(const QString& file, std::string_view section, std::string_view key,
                              std::string_view def) {
    CacheEntry* entry = nullptr;
    if (Load(file, entry) != LoadState::Loaded)
        return std::string(def);
    return ReadKey(entry->doc, section, key, def);
}

bool WriteProfileString(const QString& file, std::string_view section, std::string_view key,
                        std::string_view value) {
    return EditProfile(file, [&](TProfileEdit& edit) { return edit.Write(section, key, value); });
}

bool DeleteProfileKey(const QString& file, std::string_view section, std::string_view key) {
    return EditProfile(file, [&](TProfileEdit& edit) {
        edit.DeleteKey(section, key);
        return true;
    });
}

bool EraseProfileSection(const QString& file, std::string_view section) {
    return EditProfile(file, [&](TProfileEdit& edit) {
        edit.EraseSection(section);
        return true;
    });
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

QString OwnProfileTempPrefix(const QString& file) {
    const auto [dir, base] = SplitPath(QFile::encodeName(file).toStdString());
    return QFile::decodeName(QByteArray::fromStdString(dir + OwnTempPrefix(base)));
}

int RemoveStaleProfileTemps(const QString& file) {
    const std::optional<std::string> target = WriteTarget(file);
    if (!target)
        return 0;
    const auto [dir, base] = SplitPath(*target);
    const std::string prefix = TempPrefix(base);
    DIR* d = ::opendir(dir.empty() ? "." : dir.c_str());
    if (!d)
        return 0;
    int removed = 0;
    while (const dirent* e = ::readdir(d)) {
        const std::string_view name = e->d_name;
        if (!name.starts_with(prefix))
            continue;
        // ".<base>.~<pid>-<n>": only a process that is gone leaves one behind.
        const std::string_view rest = name.substr(prefix.size());
        const std::size_t dash = rest.find('-');
        if (dash == std::string_view::npos || dash > 9)
            continue;
        const std::optional<std::uint64_t> number = ParseUnsignedDecimal(rest.substr(0, dash));
        if (!number)
            continue;
        const pid_t pid = pid_t(*number);
        const bool alive = pid == ::getpid() || ::kill(pid, 0) == 0 || errno == EPERM;
        if (!alive && ::unlink((dir + std::string(name)).c_str()) == 0)
            ++removed;
    }
    ::closedir(d);
    return removed;
}

struct TProfileText::Parsed {
    Document doc;
};

TProfileText::TProfileText(std::string_view content)
    : parsed_(std::make_unique<Parsed>(Parsed{
          content.size() > kMaxProfileBytes ? EmptyDocument() : Parse(std::string(content))})) {}

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

bool TProfileText::HasOnlyProfileLines() const {
    const Document& doc = parsed_->doc;
    for (const Block& block : doc.blocks) {
        if (block.hasHeader && !block.named)
            return false;
        for (const Line& line : block.lines) {
            const std::string_view text = Text(doc, line);
            const std::size_t first = text.find_first_not_of(kBlanks);
            if (first != std::string_view::npos && text[first] != ';' && !ParseKeyLine(text))
                return false;
        }
    }
    return true;
}

std::size_t TProfileText::Footprint() const {
    return DocFootprint(parsed_->doc) + sizeof(Parsed);
}

} // namespace plat
