// A fresh directory per test, removed with everything in it afterwards.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <stdexcept>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

namespace rufpilot::test {

class TempVerzeichnis {
public:
    TempVerzeichnis() {
        std::string muster = (std::filesystem::temp_directory_path() / "rufpilot-XXXXXX").string();
        if (::mkdtemp(muster.data()) == nullptr) throw std::runtime_error("mkdtemp: " + muster);
        pfad_ = muster;
    }
    ~TempVerzeichnis() {
        std::error_code ec;
        std::filesystem::remove_all(pfad_, ec);
    }
    TempVerzeichnis(const TempVerzeichnis&) = delete;
    TempVerzeichnis& operator=(const TempVerzeichnis&) = delete;

    const std::filesystem::path& pfad() const { return pfad_; }
    std::filesystem::path operator/(std::string_view name) const { return pfad_ / name; }
    // A subdirectory, created on first use.
    std::filesystem::path unter(const std::string& name) const {
        std::filesystem::create_directories(pfad_ / name);
        return pfad_ / name;
    }

private:
    std::filesystem::path pfad_;
};

inline void bytesSchreiben(const std::filesystem::path& datei, std::string_view bytes) {
    std::ofstream f(datei, std::ios::binary | std::ios::trunc);
    f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string bytesLesen(const std::filesystem::path& datei) {
    std::ifstream f(datei, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

}  // namespace rufpilot::test
