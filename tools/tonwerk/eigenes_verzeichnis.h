// A directory of its own for transmit files, so that parallel runs do not share
// one test.wav; removed with everything in it when the object goes.
#pragma once

#include <filesystem>

namespace tonwerk::werkzeug {

class EigenesVerzeichnis {
public:
    EigenesVerzeichnis();
    ~EigenesVerzeichnis();
    EigenesVerzeichnis(const EigenesVerzeichnis&) = delete;
    EigenesVerzeichnis& operator=(const EigenesVerzeichnis&) = delete;
    const std::filesystem::path& pfad() const { return pfad_; }

private:
    std::filesystem::path pfad_;
};

}  // namespace tonwerk::werkzeug
