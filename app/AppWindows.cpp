#include "app/AppWindows.h"

#include "core/AppContext.h"
#include "dialogs/MainWindowHost.h"
#include "dialogs/WindowOpener.h"

void RegisterAppWindows(WindowOpener& windows) {
    // The about box: the product, its version and where it comes from.
    windows.add(AppWindow::About, [](MainWindowHost& host, const QString&) {
        host.context().messages().MsgBox(
            QStringLiteral("Relvano 4.1\r\n\r\nManages the list of installed "
                           "programs.\r\nhttps://relvano.invalid"),
            MsgButtons::Ok, MsgIcon::Information, QStringLiteral("About Relvano"));
        return 0;
    });
}
