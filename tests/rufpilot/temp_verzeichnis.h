// A fresh directory under the system's temporary directory, removed with its
// content when the test ends.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <system_error>

namespace rufpilot::test {

class TempVerzeichnis {
public:
    TempVerzeichnis() {
        std::string muster = (std::filesystem::temp_directory_path() / "rufpilot-test-XXXXXX").string();
        if (!mkdtemp(muster.data())) throw std::runtime_error("mkdtemp: " + muster);
        pfad_ = muster;
    }
    ~TempVerzeichnis() {
        std::error_code fehler;
        std::filesystem::remove_all(pfad_, fehler);
    }
    TempVerzeichnis(const TempVerzeichnis&) = delete;
    TempVerzeichnis& operator=(const TempVerzeichnis&) = delete;

    const std::filesystem::path& pfad() const { return pfad_; }
    // A subdirectory, created on first use.
    std::filesystem::path unter(const std::string& name) const {
        std::filesystem::create_directories(pfad_ / name);
        return pfad_ / name;
    }

private:
    std::filesystem::path pfad_;
};

}  // namespace rufpilot::test
