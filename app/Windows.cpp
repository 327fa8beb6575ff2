#include "app/Windows.h"

#include "app/AppWindows.h"
#include "editing/EditingWindows.h"
#include "lifecycle/LifecycleWindows.h"

void RegisterAllWindows(WindowOpener& windows) {
    RegisterAppWindows(windows);
    RegisterLifecycleWindows(windows);
    RegisterEditingWindows(windows);
}
