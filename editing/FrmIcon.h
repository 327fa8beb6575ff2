// FrmIcon, "Change Icon": shows and edits the DisplayIcon of the program
// selected in the main list, with a preview of the icon. "Ok" writes it and
// reloads the list; a write that fails is told and the dialog stays open.
#pragma once

#include "editing/EntryStore.h"

#include <QDialog>

class MainWindowHost;
class QLabel;
class QLineEdit;
class QPushButton;

class FrmIcon final : public QDialog {
    Q_OBJECT
public:
    explicit FrmIcon(MainWindowHost& host, QWidget* parent = nullptr);

    void browse();
    // Writes DisplayIcon; false when the store refused (the user was told).
    bool apply();
    // Whether the preview shows a file's icon rather than the placeholder.
    bool previewShowsIcon() const { return showsIcon_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void textChanged();
    void updatePreview();

    MainWindowHost& host_;
    EntryStore store_;
    QString key_;
    QString initialText_;
    bool showsIcon_ = false;
    QLabel* lName_;
    QLineEdit* txt_;
    QLabel* pic_;
    QLabel* tmpPic_;
    QPushButton* ok_;
};
