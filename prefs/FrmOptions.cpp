#include "prefs/FrmOptions.h"

#include "controls/Url.h"
#include "controls/WindowHelpers.h"
#include "core/AppContext.h"
#include "core/Options.h"
#include "dialogs/MainWindowHost.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {
QCheckBox* CheckBox(const char* name, const QString& caption, QWidget* parent) {
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(QLatin1String(name));
    return box;
}
} // namespace

FrmOptions::FrmOptions(MainWindowHost& host, QWidget* parent) : QDialog(parent), host_(host) {
    setObjectName(QStringLiteral("FrmOptions"));
    setWindowTitle(QStringLiteral("Options"));

    auto* general = new QWidget(this);
    general->setObjectName(QStringLiteral("Pic_General"));
    chHid_ = CheckBox("Ch_Hid", QStringLiteral("Show hidden programs"), general);
    chDbl_ = CheckBox("Ch_Dbl",
                      QStringLiteral("Show This Dialog When Press Double Click on a Program : "),
                      general);
    sw_ = new QComboBox(general);
    sw_->setObjectName(QStringLiteral("Sw"));
    sw_->addItems({QStringLiteral("Uninstall Dialog"), QStringLiteral("Information Dialog"),
                   QStringLiteral("Edit Dialog")});
    chCon_ = CheckBox("Ch_Con", QStringLiteral("Display Delete Confirmation Dialog"), general);
    auto* dbl = new QHBoxLayout;
    dbl->addWidget(chDbl_);
    dbl->addWidget(sw_);
    dbl->addStretch(1);
    auto* generalLayout = new QVBoxLayout(general);
    generalLayout->setContentsMargins(14, 14, 14, 14);
    generalLayout->setSpacing(10);
    generalLayout->addWidget(chHid_);
    generalLayout->addLayout(dbl);
    generalLayout->addWidget(chCon_);
    generalLayout->addStretch(1);

    auto* display = new QWidget(this);
    display->setObjectName(QStringLiteral("Pic_Display"));
    chFullRow_ = CheckBox("Ch_FullRow", QStringLiteral("Full Row Select"), display);
    chAuto_ =
        CheckBox("Ch_Auto", QStringLiteral("Auto Resize the List View Column Headers"), display);
    chGrid_ = CheckBox("Ch_Grid", QStringLiteral("Show grids"), display);
    chXy_ = CheckBox("Ch_Xy", QStringLiteral("Save Window Position"), display);
    auto* displayLayout = new QVBoxLayout(display);
    displayLayout->setContentsMargins(14, 14, 14, 14);
    displayLayout->setSpacing(10);
    for (QCheckBox* box : {chFullRow_, chAuto_, chGrid_, chXy_})
        displayLayout->addWidget(box);
    displayLayout->addStretch(1);

    ts_ = new QTabWidget(this);
    ts_->setObjectName(QStringLiteral("Ts"));
    ts_->addTab(general, QStringLiteral(" General "));
    ts_->addTab(display, QStringLiteral(" Interface "));
    ts_->tabBar()->setTabData(0, QStringLiteral("Tab_General"));
    ts_->tabBar()->setTabData(1, QStringLiteral("Tab_Display"));
    ts_->setCurrentIndex(0);

    def_ = new Url(this);
    def_->setObjectName(QStringLiteral("Def"));
    def_->setCaption(QStringLiteral("Default"));
    def_->ForeColor = 0xC00000; // blue, as links are
    def_->OverColor = 0xFF0000;
    cmdOk_ = new QPushButton(QStringLiteral("Ok"), this);
    cmdOk_->setObjectName(QStringLiteral("Cmd_ok"));
    cmdOk_->setDefault(true);
    cmdCancel_ = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel_->setObjectName(QStringLiteral("Cmd_Cancel"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(def_);
    buttons->addStretch(1);
    buttons->addWidget(cmdOk_);
    buttons->addWidget(cmdCancel_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(ts_, 1);
    layout->addLayout(buttons);

    connect(chDbl_, &QCheckBox::toggled, sw_, &QWidget::setEnabled);
    connect(def_, &Url::clicked, this, &FrmOptions::setDefaults);
    connect(cmdOk_, &QPushButton::clicked, this, &FrmOptions::ok);
    connect(cmdCancel_, &QPushButton::clicked, this, &QDialog::reject);

    // The controls show what Config.Ini holds; "Ok" tells from the value at
    // load whether the hidden programs changed.
    setControlValues(Options(host_.context().ConfigIniPath).values());
    hiddenAtLoad_ = chHid_->isChecked();
    setFixedSize(sizeHint().expandedTo(QSize(440, 240)));
}

OptionSettings FrmOptions::controlValues() const {
    OptionSettings o;
    o.confirmDelete = chCon_->isChecked();
    o.doubleClickRuns = chDbl_->isChecked();
    o.doubleClickAction = static_cast<DoubleClickAction>(std::max(0, sw_->currentIndex()));
    o.autoSizeColumns = chAuto_->isChecked();
    o.fullRowSelect = chFullRow_->isChecked();
    o.gridLines = chGrid_->isChecked();
    o.restorePosition = chXy_->isChecked();
    o.showHidden = chHid_->isChecked();
    return o;
}

void FrmOptions::setControlValues(const OptionSettings& o) {
    chCon_->setChecked(o.confirmDelete);
    chDbl_->setChecked(o.doubleClickRuns);
    sw_->setCurrentIndex(static_cast<int>(o.doubleClickAction));
    chAuto_->setChecked(o.autoSizeColumns);
    chFullRow_->setChecked(o.fullRowSelect);
    chGrid_->setChecked(o.gridLines);
    chXy_->setChecked(o.restorePosition);
    chHid_->setChecked(o.showHidden);
    sw_->setEnabled(o.doubleClickRuns);
}

void FrmOptions::setDefaults() {
    setControlValues(OptionSettings{});
}

void FrmOptions::ok() {
    cmdOk_->setEnabled(false);
    cmdCancel_->setEnabled(false);
    Options options(host_.context().ConfigIniPath);
    if (const WriteResult written = options.save(controlValues()); !written) {
        // Nothing was stored: the dialog stays, so the user can try again or
        // cancel, rather than believe the options were kept.
        host_.context().messages().MsgBox(written.error, MsgButtons::Ok, MsgIcon::Critical,
                                          QStringLiteral("Relvano"));
        cmdOk_->setEnabled(true);
        cmdCancel_->setEnabled(true);
        return;
    }
    host_.applyOptions();
    hide();
    if (options.showHidden() != hiddenAtLoad_)
        host_.reloadList();
    accept();
}

void FrmOptions::keyPressEvent(QKeyEvent* event) {
    CloseOnEsc(event->key(), this);
    if (event->key() != Qt::Key_Escape)
        QDialog::keyPressEvent(event);
}
