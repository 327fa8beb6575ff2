#include "dialogs/CommonDialog.h"

#include "controls/ColorValue.h"

#include <QFileInfo>

QList<std::pair<QString, QString>> cCommonDialog::ParseFilter(const QString& filter) {
    QString text = filter;
    text.replace(u':', u'|');
    QStringList parts = text.split(u'|');
    while (!parts.isEmpty() && parts.last().isEmpty())
        parts.removeLast();
    QList<std::pair<QString, QString>> pairs;
    for (qsizetype i = 0; i < parts.size(); i += 2)
        pairs.append({parts[i], i + 1 < parts.size() ? parts[i + 1] : QString()});
    return pairs;
}

void cCommonDialog::showFile(bool save) {
    FileDialogRequest request;
    request.save = save;
    request.title = DialogTitle;
    request.filters = ParseFilter(Filter);
    request.filterIndex = FilterIndex;
    request.fileName = FileName;
    request.initDir = InitDir;
    request.defaultExt = DefaultExt;
    request.flags = flags;
    request.owner = hwnd;
    const FileDialogAnswer answer = dialogs_ ? dialogs_->FileDialog(request) : FileDialogAnswer{};
    if (!answer.accepted || answer.fileName.isEmpty()) {
        FileName.clear();
        FileTitle.clear();
        Filter.clear();
        flags = 0;
        FilterIndex = save ? 0 : -1;
        cancelled();
        return;
    }
    FileName = answer.fileName;
    // After a choice of several files the text is the folder and the names;
    // the title is then the first name, as the dialog fills its own buffer.
    const QStringList parts = answer.fileName.split(QChar(0));
    FileTitle = parts.size() > 1 ? parts[1] : QFileInfo(parts[0]).fileName();
    FilterIndex = answer.filterIndex;
    flags = answer.flags;
    QString rebuilt;
    for (const auto& [description, pattern] : request.filters)
        rebuilt += description + u'|' + pattern + u'|';
    Filter = rebuilt;
}

void cCommonDialog::ShowColor() {
    // A system colour is shown as the colour it stands for now.
    const quint32 first = (Color & 0x80000000u) ? ColorValue(TranslateColor(Color)) : Color;
    const auto chosen = dialogs_ ? dialogs_->ColorDialog(first) : std::nullopt;
    if (chosen)
        Color = *chosen;
    else
        cancelled();
}

bool cCommonDialog::ShowPrinter() {
    const auto copies = dialogs_ ? dialogs_->PrintDialog(Copies) : std::nullopt;
    if (copies)
        Copies = *copies;
    return copies.has_value();
}

void cCommonDialog::cancelled() {
    if (CancelError)
        throw CommonDialogError{CancelErrorNumber, QStringLiteral("User selected cancel."),
                                QStringLiteral("relvano.cCommonDialog")};
}
