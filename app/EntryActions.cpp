#include "app/EntryActions.h"

#include "core/TextHelpers.h"
#include "dialogs/CommonDialog.h"

QString DeleteConfirmationText(const QString& displayName) {
    return QStringLiteral("Program Name : ") + displayName +
           QStringLiteral("\r\n\r\nThis tool will remove the program from the installed programs "
                          "list\r\nIf you don't uninstall this program you must uninstall it "
                          "before using this tool\r\nYou can restore program from "
                          "File\\Restore\r\n\r\nAre you sure you want to delete this program ?");
}

DeleteOutcome DeleteEntry(AppContext& context, const QString& key, const QString& displayName,
                          bool confirm) {
    if (confirm && context.messages().MsgBox(
                       DeleteConfirmationText(displayName), MsgButtons::YesNo, MsgIcon::Information,
                       QStringLiteral("Confirm Program Delete"), 2) != MsgAnswer::Yes)
        return DeleteOutcome::Cancelled;
    UninstallEntries& entries = context.entries();
    if (entries.backupAndRemove(key, displayName) == UninstallEntries::RemoveOutcome::NotBackedUp) {
        context.messages().MsgBox(entries.notBackedUpMessage(key, displayName), MsgButtons::Ok,
                                  MsgIcon::Critical, QStringLiteral("Relvano"));
        return DeleteOutcome::NotBackedUp;
    }
    return DeleteOutcome::Deleted;
}

QString ExportFileName(const QString& chosen) {
    QString path = chosen;
    if (path.right(4).compare(u".reg", Qt::CaseInsensitive) != 0)
        path += QStringLiteral(".reg");
    return path.size() < 5 ? QString() : path;
}

bool ExportEntry(AppContext& context, QWidget* owner, const QString& key,
                 const QString& displayName) {
    cCommonDialog dialog(&context.dialogs());
    dialog.hwnd = owner;
    dialog.DialogTitle = QStringLiteral("Export");
    dialog.Filter = QStringLiteral("Registry Files (*.reg)|*.reg|");
    dialog.FileName = SafeFileName(displayName);
    dialog.ShowSave();
    if (dialog.FileName.isEmpty())
        return false;
    const QString path = ExportFileName(dialog.FileName);
    if (path.isEmpty())
        return false;
    return context.entries().exportTo(key, path);
}
