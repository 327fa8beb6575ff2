// FrmOptions, "Options": the user's options of section Options of
// Config.Ini on two pages, " General " and " Interface ". "Ok" stores all
// of them, applies the grid lines (and the column sizing) to the main list at
// once and reloads the list when "Show hidden programs" changed; "Cancel"
// and Esc store nothing.
#pragma once

#include "core/Settings.h"

#include <QDialog>

class MainWindowHost;
class QCheckBox;
class QComboBox;
class QPushButton;
class QTabWidget;
class Url;

class FrmOptions : public QDialog {
    Q_OBJECT
public:
    explicit FrmOptions(MainWindowHost& host, QWidget* parent = nullptr);

    // The options as the controls show them, and showing options in them.
    OptionSettings controlValues() const;
    void setControlValues(const OptionSettings& values);

    // "Default": the controls show the defaults; nothing is stored.
    void setDefaults();
    // "Ok".
    void ok();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    MainWindowHost& host_;
    QTabWidget* ts_;
    QCheckBox* chHid_;
    QCheckBox* chDbl_;
    QComboBox* sw_;
    QCheckBox* chCon_;
    QCheckBox* chFullRow_;
    QCheckBox* chAuto_;
    QCheckBox* chGrid_;
    QCheckBox* chXy_;
    Url* def_;
    QPushButton* cmdOk_;
    QPushButton* cmdCancel_;
    bool hiddenAtLoad_ = false; // "Show hidden programs" as loaded
};
