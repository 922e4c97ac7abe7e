// The settings file of this run. The one way the frame, the lock and the
// dialogs reach back into the application object: everything else they need
// is handed to them.
#ifndef TETHRA_APP_APPSETTINGS_H
#define TETHRA_APP_APPSETTINGS_H

#include "settings/SettingsFile.h"

CSettingsFile AppSettings();

#endif
