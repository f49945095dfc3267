#include "platform/shell.h"

#include "platform/ansi.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStringList>

namespace plat {
namespace {

constexpr int kStarted = 42;     // any value above 32 means success
constexpr int kFileNotFound = 2; // the classic shell's "file not found"

std::function<int(const ShellRequest&)>& Launcher() {
    static std::function<int(const ShellRequest&)> launcher;
    return launcher;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

int StartDetached(const ShellRequest& request) {
    const QString program = FromAnsi(request.program);
    if (program.isEmpty())
        return kFileNotFound;
    QStringList args;
    for (const std::string& arg : SplitCommandLine(request.parameters))
        args << FromAnsi(arg);
    const QString workDir = FromAnsi(request.workDir);
    if (!workDir.isEmpty() && !QFileInfo(workDir).isDir())
        return kFileNotFound;
    return QProcess::startDetached(program, args, workDir) ? kStarted : kFileNotFound;
}

bool NamesExistingFile(const ShellRequest& request) {
    const QString program = FromAnsi(request.program);
    QFileInfo info(program);
    if (info.isRelative() && !request.workDir.empty())
        info = QFileInfo(QDir(FromAnsi(request.workDir)), program);
    return info.exists();
}

} // namespace

ShellRequest NormalizeShellRequest(const ShellRequest& request) {
    if (request.program.find_first_of(" \t") == std::string::npos || NamesExistingFile(request))
        return request;
    // Browser commands from the registry arrive as "program args" with a
    // trailing blank where "%1" was; the first word is the program.
    const size_t begin = request.program.find_first_not_of(" \t");
    if (begin == std::string::npos)
        return ShellRequest{{}, request.parameters, request.workDir};
    const size_t end = request.program.find_first_of(" \t", begin);
    ShellRequest out;
    out.workDir = request.workDir;
    out.program = request.program.substr(begin, end - begin);
    const size_t restBegin = request.program.find_first_not_of(" \t", end);
    std::string rest = restBegin == std::string::npos ? "" : request.program.substr(restBegin);
    while (!rest.empty() && IsBlank(rest.back()))
        rest.pop_back();
    if (rest.empty())
        out.parameters = request.parameters;
    else if (request.parameters.empty())
        out.parameters = rest;
    else
        out.parameters = rest + ' ' + request.parameters;
    return out;
}

int ShellExecute(const ShellRequest& request) {
    const ShellRequest normalized = NormalizeShellRequest(request);
    if (normalized.program.empty())
        return kFileNotFound;
    const auto& launcher = Launcher();
    return launcher ? launcher(normalized) : StartDetached(normalized);
}

void SetShellLauncher(std::function<int(const ShellRequest&)> launcher) {
    Launcher() = std::move(launcher);
}

std::vector<std::string> SplitCommandLine(std::string_view line) {
    std::vector<std::string> out;
    std::string current;
    bool inToken = false; // also true for a token made only of quotes: "" is an empty argument
    bool quoted = false;
    for (const char c : line) {
        if (c == '"') {
            quoted = !quoted;
            inToken = true;
        } else if (IsBlank(c) && !quoted) {
            if (inToken)
                out.push_back(std::move(current));
            current.clear();
            inToken = false;
        } else {
            current.push_back(c);
            inToken = true;
        }
    }
    if (inToken)
        out.push_back(std::move(current));
    return out;
}

} // namespace plat
