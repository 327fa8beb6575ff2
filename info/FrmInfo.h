// FrmInfo, "Information : NAME": one program's uninstall information as ten
// property rows, with the size of its install folder; a selector switches to
// any other program of the main list, and a "..." button beside a folder, web
// or mail address opens it. Changes nothing.
#pragma once

#include <QDialog>
#include <QStringList>

class FolderSizeJob;
class MainWindowHost;
class QComboBox;
class QToolButton;
class QTreeWidget;
class Url;

class FrmInfo : public QDialog {
    Q_OBJECT
public:
    // Shows the main list's selected program.
    explicit FrmInfo(MainWindowHost& host, QWidget* parent = nullptr);
    ~FrmInfo() override;

    // Fills the ten rows for an entry; the size row reads "Please wait ..."
    // until its install folder has been measured.
    void ShowInfo(const QString& key);
    // A choice in the selector.
    void chooseProgram(int index);
    // "..." (or Enter): opens the selected row's folder, web or mail address.
    void openSelected();
    // The install folder is still being measured.
    bool measuring() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void updateButton();
    int selectedRow() const; // counted from 1; 0 when none

    MainWindowHost& host_;
    QComboBox* lst_;
    QStringList tmpLst_; // the keys of the selector's entries, in its order
    QTreeWidget* lv_;
    QToolButton* btn_;
    Url* url_;
    FolderSizeJob* sizes_;
};
