#pragma once

#include <QString>

// The folder of the running executable, with a trailing "/"; the settings files live there.
// Needs a QCoreApplication unless a folder has been set.
QString InstallDir();

// Makes InstallDir() answer `dir` (a trailing separator is added when missing); an empty text
// restores the executable's folder. For tests.
void SetInstallDir(QString dir);
