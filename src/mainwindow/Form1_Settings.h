#pragma once
// Where the main window remembers the database last opened: read by its
// start-up (Form1_Startup.cpp), written by every open (Form1.cpp).
#include <QString>

namespace Form1Settings {
inline const QString kSettingsApp = QStringLiteral("lexuvan");
inline const QString kSettingsSection = QStringLiteral("Parameters");
inline const QString kRecentDB = QStringLiteral("RecentDB");
} // namespace Form1Settings
