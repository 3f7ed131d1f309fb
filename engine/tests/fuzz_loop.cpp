// Stand-in driver for machines without libFuzzer: mutates the seed skins with a
// fixed-seed generator for a bounded time and feeds them to the fuzz target.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv)
{
    if (argc < 3) return 2;
    std::vector<std::vector<std::uint8_t>> seeds;
    for (const auto& entry : std::filesystem::directory_iterator(argv[1])) {
        std::ifstream in(entry.path(), std::ios::binary);
        seeds.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    if (seeds.empty()) return 2;
    std::mt19937 random(1);
    auto until = std::chrono::steady_clock::now() + std::chrono::seconds(std::atoi(argv[2]));
    long runs = 0;
    while (std::chrono::steady_clock::now() < until) {
        std::vector<std::uint8_t> data = seeds[random() % seeds.size()];
        int edits = 1 + random() % 8;
        for (int i = 0; i < edits && !data.empty(); ++i) {
            std::size_t at = random() % data.size();
            switch (random() % 4) {
            case 0: data[at] = std::uint8_t(random()); break;
            case 1: data[at] ^= std::uint8_t(1u << (random() % 8)); break;
            case 2: data.resize(at); break;
            default: data.insert(data.begin() + at, std::uint8_t(random())); break;
            }
        }
        LLVMFuzzerTestOneInput(data.data(), data.size());
        ++runs;
    }
    std::printf("%ld runs\n", runs);
    return 0;
}
