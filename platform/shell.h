#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

// Stand-in for the shell's "open this program with these parameters".
namespace plat {

struct ShellRequest {
    std::string program;    // Windows-1252
    std::string parameters; // one string, split like a command line
    std::string workDir;    // empty: inherit
};

// Starts the program detached. Returns a value above 32 on success and 2
// ("file not found") when it could not be started, like the classic shell.
// A program text that names no existing file but holds spaces is taken as a
// command line: its first word is the program and the rest come before the
// parameters (desktop browser commands look like that).
// The launcher (real or replaced) gets the request after that rule.
int ShellExecute(const ShellRequest& request);

// The request as ShellExecute hands it to the launcher: unchanged, or split
// by the rule above when the program text names no file and holds blanks.
ShellRequest NormalizeShellRequest(const ShellRequest& request);

// Replaces the launcher (tests); an empty function restores the real one.
void SetShellLauncher(std::function<int(const ShellRequest&)> launcher);

// Splits a command line at unquoted blanks; double quotes group and are
// removed, and "" on its own is an empty argument.
std::vector<std::string> SplitCommandLine(std::string_view line);

} // namespace plat
