#include "app/Windows.h"

#include "editing/EditingWindows.h"
#include "info/InfoWindows.h"
#include "lifecycle/LifecycleWindows.h"
#include "prefs/PrefsWindows.h"

void RegisterAllWindows(WindowOpener& windows) {
    RegisterLifecycleWindows(windows);
    RegisterEditingWindows(windows);
    RegisterInfoWindows(windows);
    RegisterPrefsWindows(windows);
}
