// Runs a fuzz target without libFuzzer: over the files named on the command line,
// then over pseudo-random inputs, so that the test suite keeps the fuzzers' finds.
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <random>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* daten, std::size_t groesse);

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        std::ifstream f(argv[i], std::ios::binary);
        std::vector<std::uint8_t> d((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
        LLVMFuzzerTestOneInput(d.data(), d.size());
    }
    std::mt19937 rng(1);
    for (int runde = 0; runde < 200; ++runde) {
        std::vector<std::uint8_t> d(rng() % 40000);
        for (auto& b : d) b = static_cast<std::uint8_t>(rng());
        // Slow square waves as well as white noise, so that decoders leave their idle state.
        if (runde % 2)
            for (std::size_t k = 24; k < d.size(); ++k) d[k] = ((k / (2 + runde % 40)) % 2) ? 200 : 50;
        LLVMFuzzerTestOneInput(d.data(), d.size());
    }
    std::puts("ok");
    return 0;
}
