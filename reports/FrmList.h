// FrmList, "Programs List": the main list's programs as numbered plain text,
// which can be copied, saved, printed, and edited first.
#pragma once

#include "dialogs/MainWindowHost.h"

#include <QDateTime>
#include <QDialog>

class QAction;
class QLabel;
class QPlainTextEdit;
class QTimer;

// The list text: header, one numbered line per program in list order, and
// the footer; CR LF between lines and none after the last.
QString ProgramsListText(const QString& computerName, const QString& userName,
                         const QList<ListedProgram>& programs, const QDateTime& createdAt);

// The file a save goes to: the chosen name, with ".txt" appended unless it
// ends so (any case).
QString ListFileName(const QString& chosen);

class FrmList : public QDialog {
    Q_OBJECT
public:
    explicit FrmList(MainWindowHost& host, QWidget* parent = nullptr);

    // The text as the box holds it, with CR LF line ends.
    QString text() const;

    void save();
    void print();
    void copy();
    void toggleEdit();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildList();
    void textChanged();
    void showStatus(const QString& message);

    MainWindowHost& host_;
    QPlainTextEdit* txt_;
    QLabel* tip_;
    QLabel* sb1_;
    QTimer* tim_;
    QAction* mnuSave_;
    QAction* mnuPrint_;
    QAction* mnuCopy_;
    QAction* mnuEdit_;
    QAction* tbSave_;
    QAction* tbCopy_;
    QAction* tbPrint_;
    QAction* tbEdit_;
};
