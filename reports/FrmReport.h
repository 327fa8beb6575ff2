// FrmReport, "Report": a wizard that writes a report of chosen programs of
// the main list, as text or as a web page: programs, items, file, summary.
#pragma once

#include "dialogs/CommonDialog.h"
#include "dialogs/MainWindowHost.h"

#include <QDialog>

#include <array>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;

class FrmReport : public QDialog {
    Q_OBJECT
public:
    explicit FrmReport(MainWindowHost& host, QWidget* parent = nullptr);

    int wizardStep() const { return wizardStep_; }
    // The file type the report is written in: 1 text, anything else a web page.
    int filterIndex() const { return reportDialog_.FilterIndex; }

    // The pop-up menu's commands.
    void selectAll();
    void deselectAll();
    // The buttons, as clicking them runs them.
    void next();
    void back();
    void browse();
    void finish();
    // Closes the window, unless it is writing.
    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void showPage(QWidget* page);
    void unListClick();
    void unListItemCheck();
    bool itemsChosen() const;
    void updateNextForItems();
    void updateNextForFileName();
    void prepareForWriting();
    void backToFilePage();
    qsizetype chosenCount() const;

    MainWindowHost& host_;
    QList<ListedProgram> programs_;
    cCommonDialog reportDialog_;
    int wizardStep_ = 1;
    bool writing_ = false;

    QLabel* tip_;
    QWidget* pic1_;
    QWidget* pic2_;
    QWidget* pic3_;
    QListWidget* unList_;
    std::array<QCheckBox*, 9> chk_{};
    QCheckBox* chkAll_;
    QWidget* reportOptions_;
    QLineEdit* rfn_;
    QPushButton* bro_;
    QCheckBox* chkOpn_;
    QLabel* lCreate_;
    QPushButton* nxt_;
    QPushButton* cr_;
    QPushButton* bak_;
    QPushButton* can_;
    QPushButton* cl_;
    QMenu* mnuFile_;
    QAction* mnuFileSa_;
    QAction* mnuFileDa_;
};
