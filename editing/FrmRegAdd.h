// FrmRegAdd, "Add Entry": creates an entry of the Uninstall key with its
// DisplayName and UninstallString. "Add" adds one and empties the boxes for
// the next, "Ok" adds one and closes. A key name another entry has (letter
// case aside), or one the registry cannot hold, is refused.
#pragma once

#include "editing/EntryStore.h"

#include <QDialog>

class MainWindowHost;
class QLineEdit;
class QPushButton;

// Why a key name cannot be used for a new entry; empty when it can. keys are
// the names of the existing entries.
QString NewKeyNameProblem(const QString& key, const QStringList& keys);

class FrmRegAdd final : public QDialog {
    Q_OBJECT
public:
    explicit FrmRegAdd(MainWindowHost& host, QWidget* parent = nullptr);

    // Writes the entry of the three boxes; false when it was refused.
    bool addEntry();
    bool wroteEntries() const { return reload_; }

protected:
    void done(int r) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void updateButtons();

    MainWindowHost& host_;
    EntryStore store_;
    QStringList lst_; // the existing entries, read before every check
    bool reload_ = false;
    QLineEdit* txtKey_;
    QLineEdit* txtName_;
    QLineEdit* txtUn_;
    QPushButton* add_;
    QPushButton* ok_;
};
