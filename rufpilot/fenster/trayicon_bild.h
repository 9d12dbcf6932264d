// The picture of the tray icon and the window: drawn, not loaded from a file.
#pragma once

#include <QIcon>

namespace rufpilot {

QIcon trayiconBild();

}  // namespace rufpilot
