// FrmSh, "Shortcut": makes a shortcut to the selected program's install folder
// (a shell link, .lnk) or to its publisher or support web page (an internet
// shortcut, .url), in a chosen folder or the Favorites folder. On the desktop
// folder a desktop launcher goes beside it.
#pragma once

#include "editing/ShortcutFiles.h"

#include <QDialog>

class BrowseFolders;
class MainWindowHost;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

class FrmSh final : public QDialog {
    Q_OBJECT
public:
    explicit FrmSh(MainWindowHost& host, QWidget* parent = nullptr);
    ~FrmSh() override;

    // With nothing to make a shortcut to, tells the user and does not open.
    int exec() override;
    bool hasChoices() const { return !choices_.isEmpty(); }

    void applyType();
    void browse();
    // Creates the shortcut; false when it was refused or could not be written.
    bool createShortcut();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void favoritesToggled(bool checked);
    void updateOk();

    MainWindowHost& host_;
    QList<ShortcutChoice> choices_;
    QString savedFolder_;
    std::unique_ptr<BrowseFolders> browser_;
    QComboBox* shType_;
    QLineEdit* shn_;
    QLabel* lbl1_;
    QLineEdit* txt_;
    QPushButton* btnBrowse_;
    QLabel* lbl2_;
    QLineEdit* tip_;
    QCheckBox* chk_;
    QPushButton* ok_;
};
