#include "dialogs/QtServices.h"

#include "core/Addresses.h"

#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTextDocument>
#include <QUrl>

MsgAnswer QtMessageService::MsgBox(const QString& text, MsgButtons buttons, MsgIcon icon,
                                   const QString& title, int defaultButton) {
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(title);
    box.setText(text);
    switch (icon) {
    case MsgIcon::None:
        box.setIcon(QMessageBox::NoIcon);
        break;
    case MsgIcon::Critical:
        box.setIcon(QMessageBox::Critical);
        break;
    case MsgIcon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    case MsgIcon::Exclamation:
        box.setIcon(QMessageBox::Warning);
        break;
    case MsgIcon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    }
    switch (buttons) {
    case MsgButtons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case MsgButtons::OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    case MsgButtons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    case MsgButtons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    case MsgButtons::RetryCancel:
        box.setStandardButtons(QMessageBox::Retry | QMessageBox::Cancel);
        break;
    }
    if (defaultButton >= 1) {
        // Buttons in the order the program names them: Yes before No, Ok before Cancel.
        QList<QMessageBox::StandardButton> order = {QMessageBox::Ok, QMessageBox::Yes,
                                                    QMessageBox::No, QMessageBox::Retry,
                                                    QMessageBox::Cancel};
        QList<QPushButton*> ordered;
        for (const auto which : order) {
            if (auto* b = qobject_cast<QPushButton*>(box.button(which)))
                ordered.append(b);
        }
        if (defaultButton <= ordered.size())
            box.setDefaultButton(ordered[defaultButton - 1]);
    }
    switch (box.exec()) {
    case QMessageBox::Ok:
        return MsgAnswer::Ok;
    case QMessageBox::Yes:
        return MsgAnswer::Yes;
    case QMessageBox::No:
        return MsgAnswer::No;
    case QMessageBox::Retry:
        return MsgAnswer::Retry;
    default:
        return buttons == MsgButtons::Ok      ? MsgAnswer::Ok
               : buttons == MsgButtons::YesNo ? MsgAnswer::No
                                              : MsgAnswer::Cancel;
    }
}

bool QtShellService::ShellOpen(const QString& target) {
    const QUrl url = AddressUrl(target);
    return url.isValid() && QDesktopServices::openUrl(url);
}

bool QtShellService::ShowFileProperties(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists())
        return false;
    return QDesktopServices::openUrl(
        QUrl::fromLocalFile(info.isDir() ? info.absoluteFilePath() : info.absolutePath()));
}

bool QtPrintService::PrintText(const QString& documentName, const QString& text, int copies) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(documentName);
    printer.setCopyCount(std::max(1, copies));
    if (!outputFile_.isEmpty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(outputFile_);
    }
    if (!printer.isValid())
        return false;
    QTextDocument document;
    document.setPlainText(text);
    document.print(&printer);
    return printer.printerState() != QPrinter::Error;
}

void QtClipboardService::SetText(const QString& text) {
    QApplication::clipboard()->setText(text);
}

QString QtClipboardService::Text() {
    return QApplication::clipboard()->text();
}

namespace {
QWidget* Owner(QObject* owner) {
    if (auto* widget = qobject_cast<QWidget*>(owner))
        return widget;
    return QApplication::activeWindow();
}
} // namespace

FileDialogAnswer QtDialogService::FileDialog(const FileDialogRequest& request) {
    QFileDialog dialog(Owner(request.owner), request.title);
    dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    QStringList filters;
    for (const auto& [description, pattern] : request.filters)
        filters.append(description + QStringLiteral(" (") + QString(pattern).replace(u';', u' ') +
                       u')');
    if (!filters.isEmpty())
        dialog.setNameFilters(filters);
    if (request.filterIndex >= 1 && request.filterIndex <= filters.size())
        dialog.selectNameFilter(filters[request.filterIndex - 1]);
    if (!request.initDir.isEmpty())
        dialog.setDirectory(request.initDir);
    if (!request.defaultExt.isEmpty())
        dialog.setDefaultSuffix(request.defaultExt);
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
    if (request.save)
        dialog.setOption(QFileDialog::DontConfirmOverwrite, !(request.flags & 0x2));
    else if (request.flags & 0x200)
        dialog.setFileMode(QFileDialog::ExistingFiles);
    else if (request.flags & 0x1000)
        dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return FileDialogAnswer{};
    const QStringList files = dialog.selectedFiles();
    const int index = static_cast<int>(filters.indexOf(dialog.selectedNameFilter())) + 1;
    return FileDialogAnswer{true, MultipleChoiceText(files), index, request.flags};
}

std::optional<quint32> QtDialogService::ColorDialog(quint32 initial) {
    const QColor start(initial & 0xff, (initial >> 8) & 0xff, (initial >> 16) & 0xff);
    const QColor chosen = QColorDialog::getColor(start, QApplication::activeWindow());
    if (!chosen.isValid())
        return std::nullopt;
    return static_cast<quint32>(chosen.red()) | (static_cast<quint32>(chosen.green()) << 8) |
           (static_cast<quint32>(chosen.blue()) << 16);
}

std::optional<int> QtDialogService::PrintDialog(int copies) {
    QPrinter printer;
    printer.setCopyCount(std::max(1, copies));
    QPrintDialog dialog(&printer, QApplication::activeWindow());
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return printer.copyCount();
}

QString QtDialogService::FolderDialog(const FolderDialogRequest& request) {
    QFileDialog dialog(Owner(request.owner), request.title);
    const bool files = request.flags & 0x4000;
    dialog.setFileMode(files ? QFileDialog::ExistingFile : QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly, !files);
    // Without the new style the chooser cannot make folders.
    dialog.setOption(QFileDialog::ReadOnly, !(request.flags & 0x40));
    // The edit box for typing a path comes with Qt's own dialog.
    dialog.setOption(QFileDialog::DontUseNativeDialog, (request.flags & 0x10) != 0);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().first();
}

QString MultipleChoiceText(const QStringList& files) {
    if (files.size() <= 1)
        return files.value(0);
    // The folder, then each name, as the platform's dialog returns several files.
    QString text = QFileInfo(files.first()).absolutePath();
    for (const QString& file : files)
        text += QChar(0) + QFileInfo(file).fileName();
    return text;
}
