#include "rufpilot/fenster/deutsch.h"

#include <QLibraryInfo>
#include <QLocale>

namespace rufpilot {

DeutscheTexte::DeutscheTexte(QCoreApplication& app) {
    geladen_ = uebersetzer_.load(QLocale(QLocale::German), QStringLiteral("qtbase"), QStringLiteral("_"),
                                 QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    if (geladen_) app.installTranslator(&uebersetzer_);
}

}  // namespace rufpilot
