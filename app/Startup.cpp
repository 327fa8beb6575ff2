#include "app/Startup.h"

#include "app/FrmMain.h"
#include "app/FrmSpl.h"
#include "core/AppContext.h"

#include <QTimer>

Startup::Startup(AppContext& context, const WindowOpener& windows, const QString& lockFolder)
    : context_(context), windows_(windows), instance_(lockFolder) {}

Startup::~Startup() {
    instance_.release();
}

bool Startup::start() {
    if (!instance_.acquire()) {
        context_.messages().MsgBox(QStringLiteral("Can,t open another copy of Relvano"),
                                   MsgButtons::Ok, MsgIcon::Exclamation, QStringLiteral("Relvano"));
        return false;
    }
    splash_ = std::make_unique<FrmSpl>();
    splash_->show();
    // The splash is painted before the long first load starts.
    QTimer::singleShot(20, this, &Startup::loadMainWindow);
    return true;
}

void Startup::loadMainWindow() {
    main_ = std::make_unique<FrmMain>(context_, windows_);
    main_->setAttribute(Qt::WA_DeleteOnClose, false);
    main_->load(splash_->bar(), [this] {
        splash_->close();
        splash_.reset();
    });
    main_->show();
    connect(main_.get(), &FrmMain::unloaded, this, [this] {
        instance_.release();
        emit finished();
    });
    emit ready(main_.get());
}
