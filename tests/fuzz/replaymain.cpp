// The main of a fuzz target built without libFuzzer: replays every file of the folders (or the
// files) it is given through the target once, so the seeds run as an ordinary test. A crash or a
// broken check ends it as it would end the fuzzer; an empty or missing corpus fails too, so a
// mistyped folder cannot pass by testing nothing.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

std::vector<std::uint8_t> ReadInput(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The files named, and the files of the folders named, each folder's in name order.
std::vector<std::filesystem::path> InputFiles(int argc, char** argv)
{
    std::vector<std::filesystem::path> files;
    for (int i = 1; i < argc; ++i) {
        std::filesystem::path arg = argv[i];
        if (!std::filesystem::is_directory(arg)) {
            files.push_back(arg);
            continue;
        }
        std::vector<std::filesystem::path> inFolder;
        for (const auto& entry : std::filesystem::directory_iterator(arg)) {
            if (entry.is_regular_file()) {
                inFolder.push_back(entry.path());
            }
        }
        std::sort(inFolder.begin(), inFolder.end());
        files.insert(files.end(), inFolder.begin(), inFolder.end());
    }
    return files;
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::filesystem::path> files = InputFiles(argc, argv);
    if (files.empty()) {
        std::fprintf(stderr, "usage: %s CORPUS_FOLDER_OR_FILE...: no input found\n", argv[0]);
        return 2;
    }
    // The empty input first: every reader meets it, and libFuzzer always tries it (with a pointer
    // that is not null).
    const std::uint8_t none = 0;
    LLVMFuzzerTestOneInput(&none, 0);
    for (const auto& file : files) {
        if (!std::filesystem::exists(file)) {
            std::fprintf(stderr, "%s: no such input\n", file.c_str());
            return 2;
        }
        std::vector<std::uint8_t> input = ReadInput(file);
        std::printf("%s (%zu bytes)\n", file.filename().c_str(), input.size());
        std::fflush(stdout);
        LLVMFuzzerTestOneInput(input.data(), input.size());
    }
    std::printf("replayed %zu inputs\n", files.size());
    return 0;
}
