// Runs a fuzz target's LLVMFuzzerTestOneInput over saved inputs without
// libFuzzer, so that the ordinary build checks every corpus file:
//   fuzz_<name>_replay DIR_OR_FILE...
// Folders are read in name order (not recursively). A failing check in the
// target aborts, which fails the run; so does finding no input at all,
// because a replay over nothing would pass whatever the code did.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);

namespace {

bool ReadFile(const std::filesystem::path& path, std::vector<uint8_t>& out) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s DIR_OR_FILE...\n", argv[0]);
        return 2;
    }
    if (LLVMFuzzerInitialize)
        LLVMFuzzerInitialize(&argc, &argv);

    std::vector<std::filesystem::path> inputs;
    for (int i = 1; i < argc; ++i) {
        const std::filesystem::path arg(argv[i]);
        std::error_code ec;
        if (!std::filesystem::is_directory(arg, ec)) {
            inputs.push_back(arg);
            continue;
        }
        std::vector<std::filesystem::path> files;
        for (const auto& entry : std::filesystem::directory_iterator(arg, ec))
            if (entry.is_regular_file())
                files.push_back(entry.path());
        if (ec) {
            std::fprintf(stderr, "cannot list %s: %s\n", argv[i], ec.message().c_str());
            return 2;
        }
        std::sort(files.begin(), files.end());
        inputs.insert(inputs.end(), files.begin(), files.end());
    }
    if (inputs.empty()) {
        std::fprintf(stderr, "no inputs found\n");
        return 2;
    }

    std::vector<uint8_t> data;
    for (const auto& path : inputs) {
        if (!ReadFile(path, data)) {
            std::fprintf(stderr, "cannot read %s\n", path.c_str());
            return 2;
        }
        // Printed first, so that the input of a crash is the last name shown.
        std::fprintf(stderr, "%s (%zu bytes)\n", path.c_str(), data.size());
        // libFuzzer never passes a null pointer, so neither does this.
        const uint8_t empty = 0;
        LLVMFuzzerTestOneInput(data.empty() ? &empty : data.data(), data.size());
    }
    std::fprintf(stderr, "%zu inputs ran\n", inputs.size());
    return 0;
}
