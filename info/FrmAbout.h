// FrmAbout, "About Relvano": the program's name and version, and where it
// keeps its data: the program folder and the store file in use with its size.
#pragma once

#include <QDialog>

class AppContext;

// The version the program shows (title bar, about box).
inline const QString RelvanoVersion = QStringLiteral("4.1");

class FrmAbout : public QDialog {
    Q_OBJECT
public:
    explicit FrmAbout(AppContext& context, QWidget* parent = nullptr);
};
