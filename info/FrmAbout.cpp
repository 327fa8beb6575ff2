#include "info/FrmAbout.h"

#include "controls/Line.h"
#include "controls/Url.h"
#include "core/AppContext.h"
#include "core/TextHelpers.h"

#include <QApplication>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
QLabel* SelectableLabel(const QString& text, QWidget* parent, const char* name) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setIndent(3); // in line with the folder link's text
    return label;
}
} // namespace

FrmAbout::FrmAbout(AppContext& context, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FrmAbout"));
    setWindowTitle(QStringLiteral("About Relvano"));

    const QIcon icon = parent ? parent->windowIcon() : QApplication::windowIcon();
    auto* picture = new QLabel(this);
    picture->setPixmap(icon.pixmap(48, 48));
    auto* name = new QLabel(QStringLiteral("Relvano ") + RelvanoVersion, this);
    name->setObjectName(QStringLiteral("LbName"));
    QFont big = name->font();
    big.setPointSizeF(big.pointSizeF() * 1.6);
    big.setBold(true);
    name->setFont(big);
    auto* purpose = new QLabel(QStringLiteral("Manages the list of installed programs."), this);
    auto* heading = new QVBoxLayout;
    heading->addWidget(name);
    heading->addWidget(purpose);
    auto* top = new QHBoxLayout;
    top->addWidget(picture, 0, Qt::AlignTop);
    top->addSpacing(8);
    top->addLayout(heading, 1);

    // Where the data is: a user looking for it finds it here.
    // The store's size on disk: its file and the write-ahead log beside it,
    // which holds the latest changes until they are folded into the file.
    const QString store = JoinPath(context.programFolder(), StoreFileName);
    const QFileInfo storeInfo(store);
    const QFileInfo logInfo(store + QStringLiteral("-wal"));
    const qint64 storeBytes = storeInfo.size() + (logInfo.isFile() ? logInfo.size() : 0);
    auto* folder = new Url(this);
    folder->setObjectName(QStringLiteral("LbFolder"));
    folder->setCaption(context.programFolder());
    folder->ForeColor = 0xC00000;
    folder->OverColor = 0xFF0000;
    folder->setTipText(QStringLiteral("Open the program folder"));
    folder->setShellService(&context.shell());
    connect(folder, &Url::clicked, this,
            [folder, &context] { folder->OpenPath(context.programFolder(), 1); });
    auto* facts = new QGridLayout;
    facts->setHorizontalSpacing(10);
    facts->addWidget(new QLabel(QStringLiteral("Program Folder :"), this), 0, 0);
    facts->addWidget(folder, 0, 1, Qt::AlignLeft);
    facts->addWidget(new QLabel(QStringLiteral("Store :"), this), 1, 0);
    facts->addWidget(SelectableLabel(store, this, "LbStore"), 1, 1);
    facts->addWidget(new QLabel(QStringLiteral("Store Size :"), this), 2, 0);
    facts->addWidget(SelectableLabel(storeInfo.isFile() ? SizeText(static_cast<double>(storeBytes))
                                                        : QStringLiteral("N/A"),
                                     this, "LbStoreSize"),
                     2, 1);
    facts->setColumnStretch(1, 1);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("Cmd_ok"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(SelectableLabel(QStringLiteral("https://relvano.invalid"), this, "LbWeb"));
    buttons->addStretch(1);
    buttons->addWidget(ok);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(14, 14, 14, 12);
    layout->setSpacing(10);
    layout->addLayout(top);
    layout->addWidget(new Line(this));
    layout->addLayout(facts);
    layout->addWidget(new Line(this));
    layout->addLayout(buttons);
    setFixedSize(sizeHint().expandedTo(QSize(420, 0)));
}
