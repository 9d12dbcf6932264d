#include "eigenes_verzeichnis.h"

#include <stdlib.h>

#include <cerrno>
#include <string>
#include <system_error>

namespace tonwerk::werkzeug {

EigenesVerzeichnis::EigenesVerzeichnis() {
    std::string muster = (std::filesystem::temp_directory_path() / "tonwerk-send-XXXXXX").string();
    if (!::mkdtemp(muster.data())) throw std::system_error(errno, std::generic_category(), muster);
    pfad_ = muster;
}

EigenesVerzeichnis::~EigenesVerzeichnis() {
    std::error_code ec;
    std::filesystem::remove_all(pfad_, ec);
}

}  // namespace tonwerk::werkzeug
