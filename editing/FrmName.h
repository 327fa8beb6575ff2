// FrmName, "Confirm Program Rename": asks whether to give a program a name
// another listed program already has. Its check box turns the question off
// (Main/RenDlg = 1), written on every close.
#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;

class FrmName : public QDialog {
    Q_OBJECT
public:
    FrmName(const QString& configIni, QWidget* parent = nullptr);

    void RenErrorShow(const QString& newName);
    // true: keep the new name. Anything but "Yes" is no.
    bool RenResult() const { return result_; }

protected:
    void done(int r) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QString configIni_;
    QLabel* message_;
    QCheckBox* dontAsk_;
    bool result_ = false;
};
