#include "dialogs/QtServices.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QFileInfo>
#include <QMessageBox>
#include <QPrinter>
#include <QTextDocument>
#include <QUrl>

MsgAnswer QtMessageService::MsgBox(const QString& text, MsgButtons buttons, MsgIcon icon,
                                   const QString& title) {
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
    if (target.isEmpty())
        return false;
    // Web and mail addresses go as they are; anything else is a file or folder.
    const QUrl url(target);
    if (url.isValid() && !url.scheme().isEmpty() && url.scheme().size() > 1)
        return QDesktopServices::openUrl(url);
    return QDesktopServices::openUrl(QUrl::fromLocalFile(target));
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
