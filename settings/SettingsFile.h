#pragma once

#include <QString>

class SettingsRecord;

// Moves the settings block between memory and setup.cfg / default.cfg. The overloads without a
// record work on the process-wide one (the load creates it when it does not exist yet).
bool LoadSettingsFile(SettingsRecord& record, const QString& path);
bool LoadSettingsFile(const QString& path);
bool SaveSettingsFile(SettingsRecord& record, const QString& path);

// Loads the card's default.cfg over the record, keeping the camera's two private fields.
// Returns false when that file could not be read; the caller tells the user, naming
// FactoryDefaultsPath().
bool LoadFactoryDefaults(SettingsRecord& record);
QString FactoryDefaultsPath();
