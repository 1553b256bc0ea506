// The data folder ("Velkin 1.0" under the user's Application Data folder),
// its "current" folder and the date-named backups.
#pragma once

#include <string>

// The data folder with its trailing separator, created if missing; empty
// (after "Error: Application Data folder not found!") when there is none.
std::string DataFolder();
// The data folder followed by the name and a separator, created if
// missing; empty when there is no data folder.
std::string ListFolder(const char* name);
// Saves the three trees into today's date folder and says how it went:
// "Backup succeeded!", kBackupIncomplete when the lists were not read
// completely at start-up, or "Backup failed!".
int BackupLists();
extern const char kBackupIncomplete[];

// Where the platform keeps the user's application data, without the
// trailing separator; empty when it cannot be found. SHGetFolderPathA
// with CSIDL_APPDATA on Windows.
std::string ApplicationDataFolder();
