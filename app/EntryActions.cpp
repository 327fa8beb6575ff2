#include "app/EntryActions.h"

#include "core/TextHelpers.h"
#include "dialogs/CommonDialog.h"

#include <QDir>
#include <QFileInfo>

QString BackupFileFor(const AppContext& context, const QString& displayName) {
    return JoinPath(context.BackupFolder, SafeFileName(displayName) + QStringLiteral(".Reg"));
}

bool BackupEntry(AppContext& context, const QString& key, const QString& displayName) {
    if (!QDir().mkpath(context.BackupFolder))
        return false;
    const QString file = BackupFileFor(context, displayName);
    return context.store().ExportKey(AppContext::UninstallKeyFullPath + key, file) &&
           QFileInfo(file).size() > 0;
}

QString DeleteConfirmationText(const QString& displayName) {
    return QStringLiteral("Program Name : ") + displayName +
           QStringLiteral("\r\n\r\nThis tool will remove the program from the installed programs "
                          "list\r\nIf you don't uninstall this program you must uninstall it "
                          "before using this tool\r\nYou can restore program from "
                          "File\\Restore\r\n\r\nAre you sure you want to delete this program ?");
}

DeleteOutcome DeleteEntry(AppContext& context, const QString& key, const QString& displayName,
                          bool confirm) {
    MessageService* messages = context.services.messages;
    if (confirm && (!messages ||
                    messages->MsgBox(DeleteConfirmationText(displayName), MsgButtons::YesNo,
                                     MsgIcon::Information, QStringLiteral("Confirm Program Delete"),
                                     2) != MsgAnswer::Yes))
        return DeleteOutcome::Cancelled;
    if (!BackupEntry(context, key, displayName)) {
        // Without its backup the entry would be lost for good.
        if (messages)
            messages->MsgBox(
                QStringLiteral("The program could not be backed up to \"%1\", so it "
                               "was not deleted.")
                    .arg(QDir::toNativeSeparators(BackupFileFor(context, displayName))),
                MsgButtons::Ok, MsgIcon::Critical, QStringLiteral("Relvano"));
        return DeleteOutcome::NotBackedUp;
    }
    context.store().DeleteKey(RootKey::LocalMachine, AppContext::UninstallKeyPath + key);
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
    cCommonDialog dialog(context.services.dialogs);
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
    return context.store().ExportKey(AppContext::UninstallKeyFullPath + key, path).ok();
}
