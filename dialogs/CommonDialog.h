// cCommonDialog: the one way windows show the open, save, colour and print
// dialogs. Set the properties, call a Show operation, read the properties.
//
// Filters are description and pattern pairs separated by "|" (a ":" separates
// too, so a description cannot hold one): "Registry Files (*.reg)|*.reg|".
// A cancelled file dialog leaves FileName empty and FilterIndex at -1 (open)
// or 0 (save); with CancelError set it throws CommonDialogError 20001.
#pragma once

#include "core/Services.h"

#include <QString>

class QWidget;

struct CommonDialogError {
    int number = 0;
    QString description;
    QString source;
};

class cCommonDialog {
public:
    explicit cCommonDialog(DialogService* dialogs) : dialogs_(dialogs) {}

    // Flag bits the windows use.
    static constexpr quint32 OverwritePrompt = 0x2;
    static constexpr quint32 HideReadOnly = 0x4;
    static constexpr quint32 AllowMultiSelect = 0x200;
    static constexpr quint32 FileMustExist = 0x1000;
    static constexpr int CancelErrorNumber = 20001;

    QString FileName;
    QString FileTitle;
    QString Filter;
    int FilterIndex = 1;
    QString DialogTitle;
    QString DefaultExt;
    QString InitDir;
    quint32 flags = 0;
    QWidget* hwnd = nullptr;
    bool CancelError = false;
    quint32 Color = 0; // 0x00BBGGRR
    int Copies = 0;
    int FromPage = 0;
    int ToPage = 0;
    int Min = 0;
    int Max = 0;
    bool PrinterDefault = false;

    void ShowOpen() { showFile(false); }
    void ShowSave() { showFile(true); }
    void ShowColor();
    // Updates Copies only when the user confirms; returns whether they did.
    bool ShowPrinter();

    // The filter text as description/pattern pairs.
    static QList<std::pair<QString, QString>> ParseFilter(const QString& filter);

private:
    void showFile(bool save);
    void cancelled();

    DialogService* dialogs_;
};
