// Renders the entry editing windows in their states to PNG files, for a
// person to look at: EditingScreens OUTPUT_FOLDER
#include "core/AppContext.h"
#include "editing/EntryValuesModel.h"
#include "editing/FrmEdit.h"
#include "editing/FrmEditValue.h"
#include "editing/FrmIcon.h"
#include "editing/FrmRegAdd.h"
#include "editing/FrmSh.h"
#include "tests/support/FakeHost.h"
#include "tests/support/Fakes.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QEventLoop>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QStandardPaths>
#include <QTimer>

#include <cstdio>

#include "tests/screens/ScreenShots.h"

namespace {

void Set(AppContext& context, const QString& key, const char* name, const QString& value) {
    context.entries().setValue(key, QLatin1String(name), value);
}

} // namespace

int main(int argc, char** argv) {
    // The Favorites folder and the other standard folders go to a test place,
    // never the user's own.
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: EditingScreens OUTPUT_FOLDER\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(out);
    FakeApp fake;
    AppContext& context = fake.context;
    const QString dir = fake.folder.path();

    const QString key = QStringLiteral("DemoTool");
    Set(context, key, "DisplayName", QStringLiteral("Demo Tool 2.0"));
    Set(context, key, "UninstallString", QStringLiteral("/opt/demo-tool/uninstall --quiet"));
    Set(context, key, "DisplayVersion", QStringLiteral("2.0.1"));
    Set(context, key, "Publisher", QStringLiteral("Example Software Ltd."));
    Set(context, key, "InstallLocation", QStringLiteral("/opt/demo-tool"));
    Set(context, key, "URLInfoAbout", QStringLiteral("https://example.com/demo-tool"));
    Set(context, key, "HelpLink", QStringLiteral("https://example.com/demo-tool/help"));
    const QString icon = QDir(dir).filePath(QStringLiteral("demo-tool.png"));
    {
        QImage image(64, 64, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.setBrush(QColor(52, 101, 164));
        p.setPen(Qt::NoPen);
        p.drawRoundedRect(4, 4, 56, 56, 10, 10);
        p.setBrush(QColor(252, 175, 62));
        p.drawEllipse(18, 18, 28, 28);
        p.end();
        image.save(icon);
    }
    Set(context, key, "DisplayIcon", icon);
    Set(context, QStringLiteral("Other"), "DisplayName", QStringLiteral("Other Program 1.4"));
    Set(context, QStringLiteral("Other"), "UninstallString", QStringLiteral("/opt/other/remove"));
    Set(context, QStringLiteral("Web"), "DisplayName", QStringLiteral("Web Only Tool"));
    Set(context, QStringLiteral("Web"), "UninstallString", QStringLiteral("/opt/web/remove"));
    Set(context, QStringLiteral("Web"), "HelpLink", QStringLiteral("https://example.org/help"));

    FakeHost host(context);
    host.listEntries();
    host.select(key);

    { // The editor with an unsaved row selected, and with grid lines.
        FrmEdit editor(host);
        editor.show();
        Save(editor, out, QStringLiteral("editor-1-values"));
        FrmEdit_Add add(editor.values(), context.messages(), &editor);
        add.findChild<QLineEdit*>(QStringLiteral("TxtName"))->setText(QStringLiteral("Comments"));
        add.findChild<QLineEdit*>(QStringLiteral("TxtValue"))
            ->setText(QStringLiteral("Installed by hand"));
        add.show();
        Save(add, out, QStringLiteral("editor-2-new-value"));
        add.hide();
        FrmEdit_Edit edit(editor.values(), 3, context.messages(), &editor);
        edit.show();
        Save(edit, out, QStringLiteral("editor-3-edit-value"));
        edit.hide();
        // An added row, selected: "This item is not saved".
        const_cast<EntryValuesModel&>(editor.values())
            .append(QStringLiteral("Comments"), QStringLiteral("Installed by hand"));
        editor.DoChange(true);
        editor.selectRow(editor.values().count() - 1);
        Save(editor, out, QStringLiteral("editor-4-not-saved"));
        editor.setGrids(true);
        editor.selectRow(1);
        Save(editor, out, QStringLiteral("editor-5-grids"));
        editor.DoChange(false);
        editor.reject();
    }
    { // Add entry, filled in.
        FrmRegAdd dialog(host);
        dialog.findChild<QLineEdit*>(QStringLiteral("TxtKey"))->setText(QStringLiteral("HandTool"));
        dialog.findChild<QLineEdit*>(QStringLiteral("TxtName"))
            ->setText(QStringLiteral("Hand Installed Tool"));
        dialog.findChild<QLineEdit*>(QStringLiteral("TxtUn"))
            ->setText(QStringLiteral("/opt/hand-tool/uninstall.sh"));
        dialog.show();
        Save(dialog, out, QStringLiteral("add-entry"));
        dialog.reject();
    }
    { // Change icon: a real icon, then a missing file.
        FrmIcon dialog(host);
        dialog.show();
        Save(dialog, out, QStringLiteral("icon-1-preview"));
        dialog.findChild<QLineEdit*>(QStringLiteral("Txt"))
            ->setText(QStringLiteral("/opt/demo-tool/missing.ico"));
        Save(dialog, out, QStringLiteral("icon-2-placeholder"));
        dialog.reject();
    }
    { // The shortcut dialog for each type.
        FrmSh dialog(host);
        dialog.findChild<QLineEdit*>(QStringLiteral("Txt"))->setText(dir);
        dialog.findChild<QLineEdit*>(QStringLiteral("Tip"))
            ->setText(QStringLiteral("The folder of Demo Tool"));
        dialog.show();
        Save(dialog, out, QStringLiteral("shortcut-1-folder"));
        auto* type = dialog.findChild<QComboBox*>(QStringLiteral("ShType"));
        type->setCurrentIndex(1);
        dialog.applyType();
        Save(dialog, out, QStringLiteral("shortcut-2-publisher"));
        type->setCurrentIndex(2);
        dialog.applyType();
        dialog.findChild<QCheckBox*>(QStringLiteral("Chk"))->setChecked(true);
        Save(dialog, out, QStringLiteral("shortcut-3-support-favorites"));
        dialog.reject();
    }
    return 0;
}
