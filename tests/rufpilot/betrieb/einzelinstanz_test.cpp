// One Rufpilot per data directory: only a lock another instance holds reads
// "Server läuft schon !"; a lock file that cannot be opened is said as such.
#include "rufpilot/betrieb/einzelinstanz.h"

#include <gtest/gtest.h>

#include "temp_verzeichnis.h"

namespace rufpilot {
namespace {

TEST(Einzelinstanz, ASecondInstanceOnTheSameDirectoryIsRefused) {
    test::TempVerzeichnis dir;
    const Einzelinstanz erste(dir.pfad());
    ASSERT_TRUE(erste.gehalten());
    const Einzelinstanz zweite(dir.pfad());
    EXPECT_FALSE(zweite.gehalten());
    EXPECT_EQ(zweite.meldung(), "Server läuft schon !");
}

TEST(Einzelinstanz, ALockFileThatCannotBeOpenedIsNamedNotTakenForAnotherInstance) {
    test::TempVerzeichnis dir;
    std::filesystem::create_directory(dir / "rufpilot.lock");
    const Einzelinstanz verzeichnisStattDatei(dir.pfad());
    EXPECT_FALSE(verzeichnisStattDatei.gehalten());
    EXPECT_EQ(verzeichnisStattDatei.meldung().rfind("Sperrdatei " + (dir / "rufpilot.lock").string() +
                                                        " lässt sich nicht öffnen: ",
                                                    0),
              0u)
        << verzeichnisStattDatei.meldung();

    const Einzelinstanz ohneVerzeichnis(dir / "fehlt");
    EXPECT_FALSE(ohneVerzeichnis.gehalten());
    EXPECT_NE(ohneVerzeichnis.meldung().find("lässt sich nicht öffnen"), std::string::npos);
}

}  // namespace
}  // namespace rufpilot
