// Add entry, change icon and shortcut dialogs over a real store, and the
// shortcut files they write (read back with lnkinfo when it is installed).
#include "core/FileFolder.h"
#include "editing/FrmIcon.h"
#include "editing/FrmRegAdd.h"
#include "editing/FrmSh.h"
#include "editing/IconPreview.h"
#include "editing/ShortcutFiles.h"
#include "tests/editing/EditingFixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QtTest>

namespace {

QString Tool(const char* name) {
    return QStandardPaths::findExecutable(QLatin1String(name));
}

QString Run(const QString& tool, const QStringList& args, int* exitCode = nullptr) {
    QProcess p;
    p.start(tool, args);
    p.waitForFinished(10000);
    if (exitCode)
        *exitCode = p.exitCode();
    return QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError());
}

QString Field(const QString& report, const QString& label) {
    for (const QString& line : report.split(u'\n')) {
        const qsizetype colon = line.indexOf(u':');
        if (colon > 0 && line.left(colon).trimmed() == label)
            return line.mid(colon + 1).trimmed();
    }
    return "<no " + label + ">";
}

template <typename T> T* Child(QWidget& w, const char* name) {
    T* child = w.findChild<T*>(name);
    if (!child)
        qFatal("no child %s", name);
    return child;
}

} // namespace

class EditingDialogsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<EditingApp> app;

private slots:
    void init() { app = std::make_unique<EditingApp>(); }

    // ---- Add entry

    void addEntryChecksTheKeyName_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("message"); // empty: added
        QTest::newRow("new") << "New Tool"
                             << "";
        QTest::newRow("spaces kept") << "  Spaced  "
                                     << "";
        QTest::newRow("dots and slash are names") << "../a/b"
                                                  << "";
        QTest::newRow("case-only duplicate")
            << "tool"
            << "Can't add this program\r\nThe Program \"tool\" is already exists in the "
               "installed programs list";
        QTest::newRow("backslash") << "A\\B"
                                   << "Can't add this program\r\nA registry key name cannot "
                                      "contain a backslash (\\).";
        QTest::newRow("too long") << QString(256, 'k')
                                  << "Can't add this program\r\nA registry key name cannot be "
                                     "longer than 255 characters.";
    }
    void addEntryChecksTheKeyName() {
        QFETCH(QString, key);
        QFETCH(QString, message);
        app->addProgram("Tool", "Tool 1.0");
        FrmRegAdd dialog(app->host);
        dialog.show();
        QCOMPARE(dialog.windowTitle(), QString("Add Entry"));
        Child<QLineEdit>(dialog, "TxtKey")->setText(key);
        Child<QLineEdit>(dialog, "TxtName")->setText("Name Of It");
        Child<QLineEdit>(dialog, "TxtUn")->setText("/opt/x/uninstall");
        Child<QPushButton>(dialog, "Cmd_ok")->click();
        if (message.isEmpty()) {
            QVERIFY(!dialog.isVisible());
            QVERIFY(app->fakes.messages.calls.isEmpty());
            QVERIFY(app->context.entries().keys().contains(key));
            QCOMPARE(app->context.entries().value(key, "DisplayName"), QString("Name Of It"));
            QCOMPARE(app->context.entries().value(key, "UninstallString"),
                     QString("/opt/x/uninstall"));
            QCOMPARE(app->host.reloads, 1);
        } else {
            QVERIFY(dialog.isVisible());
            QCOMPARE(app->lastMessage().text, message);
            QCOMPARE(app->lastMessage().title, QString("Relvano"));
            QCOMPARE(app->lastMessage().icon, MsgIcon::Exclamation);
            QCOMPARE(Child<QLineEdit>(dialog, "TxtKey")->selectedText(), key);
            QCOMPARE(app->context.entries().keys(), QStringList{"Tool"});
            dialog.reject();
            QCOMPARE(app->host.reloads, 0);
        }
    }

    void addEntryNeedsAllThreeBoxesAndAddsSeveral() {
        FrmRegAdd dialog(app->host);
        dialog.show();
        auto* add = Child<QPushButton>(dialog, "Cmd_add");
        auto* ok = Child<QPushButton>(dialog, "Cmd_ok");
        const char* boxes[] = {"TxtKey", "TxtName", "TxtUn"};
        for (int filled = 0; filled < 3; ++filled) {
            QVERIFY(!add->isEnabled() && !ok->isEnabled());
            Child<QLineEdit>(dialog, boxes[filled])->setText("A");
        }
        QVERIFY(add->isEnabled() && ok->isEnabled());
        add->click();
        QVERIFY(dialog.isVisible());
        for (const char* box : boxes)
            QVERIFY(Child<QLineEdit>(dialog, box)->text().isEmpty());
        QVERIFY(!add->isEnabled());
        for (const char* box : boxes)
            Child<QLineEdit>(dialog, box)->setText("B");
        add->click();
        dialog.reject();
        QCOMPARE(app->context.entries().keys(), QStringList({"A", "B"}));
        QCOMPARE(app->host.reloads, 1);
    }

    void addEntryThatCannotBeWrittenLeavesNothing() {
        FrmRegAdd dialog(app->host);
        dialog.show();
        Child<QLineEdit>(dialog, "TxtKey")->setText("New");
        Child<QLineEdit>(dialog, "TxtName")->setText("New");
        Child<QLineEdit>(dialog, "TxtUn")->setText("/x");
        {
            StoreWriteLock lock(app->folder.storePath());
            QVERIFY(lock.locked());
            Child<QPushButton>(dialog, "Cmd_ok")->click();
        }
        QVERIFY(dialog.isVisible());
        QCOMPARE(app->lastMessage().icon, MsgIcon::Critical);
        QVERIFY(app->lastMessage().text.startsWith("Can't add this program\r\n"));
        QVERIFY(app->context.entries().keys().isEmpty());
        dialog.reject();
        QCOMPARE(app->host.reloads, 0);
    }

    // ---- Change icon

    void changeIconPreviewsAndWrites() {
        app->addProgram("Tool", "Tool 1.0");
        const QString png = app->folder.file("tool.png");
        const QString xpm = app->folder.file("tool.xpm");
        QImage image(48, 48, QImage::Format_ARGB32);
        image.fill(Qt::red);
        QVERIFY(image.save(png) && image.save(xpm));
        app->set("Tool", MakeStringValue("DisplayIcon", png + ",0", RegType::ExpandSz));

        FrmIcon dialog(app->host);
        dialog.show();
        QCOMPARE(dialog.windowTitle(), QString("Change Icon"));
        QCOMPARE(Child<QLabel>(dialog, "LName")->text(), QString("Program Name : Tool 1.0"));
        auto* txt = Child<QLineEdit>(dialog, "Txt");
        auto* ok = Child<QPushButton>(dialog, "Cmd_ok");
        // The index after the comma is not part of the file: previewed, not kept.
        QCOMPARE(txt->text(), png + ",0");
        QVERIFY(dialog.previewShowsIcon());
        QCOMPARE(Child<QLabel>(dialog, "Pic")->pixmap().toImage().pixelColor(16, 16),
                 QColor(Qt::red));
        QVERIFY(!ok->isEnabled());
        txt->setText(png.toUpper() + ",0");
        QVERIFY(!ok->isEnabled());
        txt->setText(app->folder.file("missing.ico"));
        QVERIFY(!dialog.previewShowsIcon());
        QVERIFY(!ok->isEnabled());
        // Chosen through the file dialog, with the icon types first.
        app->fakes.dialogs.fileAnswers.enqueue({true, xpm, 2});
        Child<QPushButton>(dialog, "Bro")->click();
        const FileDialogRequest request = app->fakes.dialogs.fileRequests.last();
        QCOMPARE(request.filterIndex, 2);
        QCOMPARE(request.filters.size(), 3);
        QCOMPARE(request.filters[0].second, QString("*.exe"));
        QCOMPARE(request.filters[1].second, QString("*.ico;*.png;*.svg;*.xpm"));
        QCOMPARE(txt->text(), xpm);
        QVERIFY(dialog.previewShowsIcon());
        QVERIFY(ok->isEnabled());
        ok->click();
        QVERIFY(!dialog.isVisible());
        QCOMPARE(app->host.reloads, 1);
        // An expandable string stays one.
        QCOMPARE(app->value("Tool", "DisplayIcon"),
                 MakeStringValue("DisplayIcon", xpm, RegType::ExpandSz));
    }

    void changeIconThatCannotBeWrittenStaysOpen() {
        app->addProgram("Tool", "Tool 1.0");
        const QString png = app->folder.file("tool.png");
        QVERIFY(QImage(16, 16, QImage::Format_RGB32).save(png));
        FrmIcon dialog(app->host);
        dialog.show();
        Child<QLineEdit>(dialog, "Txt")->setText(png);
        {
            StoreWriteLock lock(app->folder.storePath());
            Child<QPushButton>(dialog, "Cmd_ok")->click();
        }
        QVERIFY(dialog.isVisible());
        QCOMPARE(app->lastMessage().icon, MsgIcon::Critical);
        QCOMPARE(app->host.reloads, 0);
        QCOMPARE(app->context.entries().value("Tool", "DisplayIcon"), QString());
    }

    void previewIconPath_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("path");
        QTest::newRow("ico with index") << "C:\\Tool\\tool.ico,2"
                                        << "C:\\Tool\\tool.ico";
        QTest::newRow("quoted exe") << "\"C:\\Tool\\tool.exe\" /x"
                                    << "C:\\Tool\\tool.exe";
        QTest::newRow("png") << "/usr/share/icons/tool.png"
                             << "/usr/share/icons/tool.png";
        QTest::newRow("svg with index") << "/usr/share/icons/tool.SVG,0"
                                        << "/usr/share/icons/tool.SVG";
        QTest::newRow("xpm quoted") << "\"/usr/share/pixmaps/a b.xpm\""
                                    << "/usr/share/pixmaps/a b.xpm";
        QTest::newRow("nothing") << "tool"
                                 << "";
    }
    void previewIconPath() {
        QFETCH(QString, text);
        QFETCH(QString, path);
        QCOMPARE(PreviewIconPath(text), path);
    }

    void previewShowsSvgIcons() {
        const QString svg = app->folder.file("tool.svg");
        QVERIFY(WriteFileBytes(svg, "<svg xmlns='http://www.w3.org/2000/svg' width='64' "
                                    "height='64'><rect width='64' height='64' fill='#0000ff'/>"
                                    "</svg>"));
        const QPixmap icon = PreviewIcon(svg, 32);
        if (QImageReader::imageFormat(svg).isEmpty())
            QSKIP("Qt's SVG image plugin (libqt6svg6) is not installed");
        QCOMPARE(icon.size(), QSize(32, 32));
        QCOMPARE(icon.toImage().pixelColor(16, 16), QColor(Qt::blue));
    }

    // ---- Shortcuts

    void shortcutTypes_data() {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("publisher");
        QTest::addColumn<QString>("support");
        QTest::addColumn<QStringList>("types");
        QTest::newRow("all") << "/opt/tool"
                             << "http://a"
                             << "http://b"
                             << QStringList{"Installation Location", "Publisher Url",
                                            "Support Url"};
        QTest::newRow("only support") << ""
                                      << ""
                                      << "http://b" << QStringList{"Support Url"};
        QTest::newRow("three characters are too short") << "C:\\"
                                                        << "abc"
                                                        << "abcd" << QStringList{"Support Url"};
        QTest::newRow("none") << "/op"
                              << ""
                              << "" << QStringList{};
    }
    void shortcutTypes() {
        QFETCH(QString, folder);
        QFETCH(QString, publisher);
        QFETCH(QString, support);
        QFETCH(QStringList, types);
        QStringList captions;
        for (const ShortcutChoice& c : ShortcutChoices({folder, publisher, support}))
            captions.append(c.caption);
        QCOMPARE(captions, types);
    }

    void internetShortcutIsFourLines() {
        QCOMPARE(InternetShortcutText("https://example.com/a?b=ä"),
                 QByteArray("[DEFAULT]\r\nBASEURL=https://example.com/a?b=\xc3\xa4\r\n"
                            "[InternetShortcut]\r\nURL=https://example.com/a?b=\xc3\xa4\r\n"));
        // A line break in the address cannot add lines of its own.
        QCOMPARE(InternetShortcutText("http://a\r\nIconFile=x").count("\r\n"), 4);
    }

    void shortcutDialogRules() {
        app->addProgram("Tool", "Tool: Best?");
        app->context.entries().setValue("Tool", "HelpLink", "https://help.example/");
        app->context.entries().setValue("Tool", "URLInfoAbout", "abc");
        FrmSh dialog(app->host);
        dialog.show();
        QCOMPARE(dialog.windowTitle(), QString("Shortcut"));
        auto* shn = Child<QLineEdit>(dialog, "Shn");
        auto* txt = Child<QLineEdit>(dialog, "Txt");
        auto* chk = Child<QCheckBox>(dialog, "Chk");
        auto* ok = Child<QPushButton>(dialog, "Cmd_ok");
        QCOMPARE(shn->text(), QString("Tool- Best-"));
        // Only the support page: no description, favourites offered.
        QCOMPARE(Child<QComboBox>(dialog, "ShType")->count(), 1);
        QCOMPARE(Child<QComboBox>(dialog, "ShType")->currentText(), QString("Support Url"));
        QVERIFY(!Child<QLineEdit>(dialog, "Tip")->isEnabled());
        QVERIFY(!Child<QLabel>(dialog, "Lbl2")->isEnabled());
        QVERIFY(chk->isEnabled());
        // A missing folder keeps "Ok" disabled.
        QVERIFY(!ok->isEnabled());
        txt->setText(app->folder.file("missing"));
        QVERIFY(!ok->isEnabled());
        const QString chosen = app->folder.file("links");
        QDir().mkpath(chosen);
        app->fakes.dialogs.folderAnswers.enqueue(chosen);
        Child<QPushButton>(dialog, "BtnBrowse")->click();
        QCOMPARE(txt->text(), chosen);
        QVERIFY(ok->isEnabled());
        // Favourites on and off restore the folder text.
        chk->setChecked(true);
        QCOMPARE(txt->text(), SpecialFolderPath(Csidl::Favorites));
        QVERIFY(QFileInfo(txt->text()).isDir());
        QVERIFY(!txt->isEnabled() && !Child<QPushButton>(dialog, "BtnBrowse")->isEnabled());
        chk->setChecked(false);
        QCOMPARE(txt->text(), chosen);
        QVERIFY(txt->isEnabled());
        // A name cannot begin with a space.
        shn->clear();
        QTest::keyClicks(shn, "  a b");
        QCOMPARE(shn->text(), QString("a b"));
        shn->setCursorPosition(0);
        QTest::keyClick(shn, Qt::Key_Space);
        QCOMPARE(shn->text(), QString("a b"));
        shn->setText("   ");
        QVERIFY(!ok->isEnabled());
        // Characters a file name cannot hold are refused.
        shn->setText("Tool*");
        ok->click();
        QVERIFY(dialog.isVisible());
        QCOMPARE(app->lastMessage().text,
                 QString("A filename cannot contain any of the following characters :\r\n"
                         "\\/:*?\"<>|"));
        QCOMPARE(app->lastMessage().icon, MsgIcon::Exclamation);
        QCOMPARE(shn->selectedText(), QString("Tool*"));
        QVERIFY(QDir(chosen).isEmpty());
        // The internet shortcut, byte for byte.
        shn->setText("Tool Help");
        ok->click();
        QVERIFY(!dialog.isVisible());
        QCOMPARE(ReadFileBytes(chosen + "/Tool Help.url"),
                 QByteArray("[DEFAULT]\r\nBASEURL=https://help.example/\r\n[InternetShortcut]\r\n"
                            "URL=https://help.example/\r\n"));
        QCOMPARE(QDir(chosen).entryList(QDir::Files), QStringList{"Tool Help.url"});
    }

    void folderShortcutIsAShellLink() {
        const QString install = app->folder.file("opt/Example Tool");
        QDir().mkpath(install);
        app->addProgram("Tool", "Example Tool");
        app->context.entries().setValue("Tool", "InstallLocation", install);
        app->context.entries().setValue("Tool", "URLInfoAbout", "https://example.com/");
        const QString links = app->folder.file("links");
        QDir().mkpath(links);
        FrmSh dialog(app->host);
        dialog.show();
        auto* type = Child<QComboBox>(dialog, "ShType");
        auto* chk = Child<QCheckBox>(dialog, "Chk");
        auto* txt = Child<QLineEdit>(dialog, "Txt");
        QCOMPARE(type->currentText(), QString("Installation Location"));
        QVERIFY(Child<QLineEdit>(dialog, "Tip")->isEnabled());
        QVERIFY(!chk->isEnabled());
        // Choosing the folder link again unchecks the favourites and restores the folder.
        txt->setText(links);
        type->setCurrentIndex(1);
        dialog.applyType();
        chk->setChecked(true);
        type->setCurrentIndex(0);
        dialog.applyType();
        QVERIFY(!chk->isChecked() && !chk->isEnabled());
        QCOMPARE(txt->text(), links);
        Child<QLineEdit>(dialog, "Tip")->setText("The example tool's folder");
        Child<QPushButton>(dialog, "Cmd_ok")->click();
        QVERIFY(!dialog.isVisible());
        const QString lnk = links + "/Example Tool.lnk";
        QVERIFY(QFileInfo(lnk).isFile());
        QCOMPARE(ReadFileBytes(lnk).left(4), QByteArray("\x4c\0\0\0", 4));
        const QString lnkinfo = Tool("lnkinfo");
        if (lnkinfo.isEmpty())
            QSKIP("lnkinfo (liblnk-utils) is not installed");
        int exitCode = -1;
        const QString report = Run(lnkinfo, {lnk}, &exitCode);
        QCOMPARE(exitCode, 0);
        QCOMPARE(Field(report, "Local path"), install);
        QCOMPARE(Field(report, "Description"), QString("The example tool's folder"));
        QVERIFY(report.contains("Is directory"));
    }

    void onTheDesktopALauncherGoesBeside_data() {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("launcher");
        const QString install = QDir::homePath() + "/opt/My \"odd\" $tool 100%";
        QTest::newRow("install folder")
            << 0 << "Tool.lnk"
            << QByteArray("[Desktop Entry]\nType=Application\nName=Tool\nComment=Its folder\n"
                          "Exec=xdg-open \"") +
                   install.toUtf8()
                       .replace("\"", "\\\\\"")
                       .replace("$", "\\\\$")
                       .replace("%", "%%") +
                   "\"\nIcon=folder\nTerminal=false\n";
        QTest::newRow("web page")
            << 1 << "Tool.url"
            << QByteArray("[Desktop Entry]\nType=Link\nName=Tool\nURL=https://example.com/\\nX\n");
    }
    void onTheDesktopALauncherGoesBeside() {
        QFETCH(int, type);
        QFETCH(QString, file);
        QFETCH(QByteArray, launcher);
        const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
        QVERIFY(desktop.startsWith(QDir::homePath()));
        QVERIFY(QDir().mkpath(desktop));
        const QString install = QDir::homePath() + "/opt/My \"odd\" $tool 100%";
        QDir().mkpath(install);
        const QList<ShortcutChoice> choices =
            ShortcutChoices({install, "https://example.com/\nX", ""});
        const ShortcutRequest request{choices[type], desktop, "Tool", "Its folder"};
        QVERIFY(CreateShortcut(request, desktop).ok());
        QVERIFY(QFileInfo(desktop + "/" + file).isFile());
        const QString path = desktop + "/Tool.desktop";
        QCOMPARE(ReadFileBytes(path), launcher);
        QVERIFY(QFileInfo(path).isExecutable());
        const QString validate = Tool("desktop-file-validate");
        if (!validate.isEmpty()) {
            int exitCode = -1;
            const QString out = Run(validate, {path}, &exitCode);
            QVERIFY2(exitCode == 0 && !out.contains("error"), qPrintable(out));
        }
        // Elsewhere no launcher is written.
        const QString other = app->folder.file("other");
        QDir().mkpath(other);
        QVERIFY(CreateShortcut({choices[type], other, "Tool", "Its folder"}, desktop).ok());
        QCOMPARE(QDir(other).entryList(QDir::Files), QStringList{file});
        QFile::remove(path);
    }

    void aShortcutThatCannotBeWrittenIsTold() {
        app->addProgram("Tool", "Tool");
        app->context.entries().setValue("Tool", "URLInfoAbout", "https://example.com/");
        const QString links = app->folder.file("links");
        QDir().mkpath(links + "/Tool.url"); // a folder where the file would go
        FrmSh dialog(app->host);
        dialog.show();
        Child<QLineEdit>(dialog, "Txt")->setText(links);
        Child<QPushButton>(dialog, "Cmd_ok")->click();
        QVERIFY(dialog.isVisible());
        QCOMPARE(app->lastMessage().icon, MsgIcon::Critical);
        QVERIFY2(app->lastMessage().text.contains("cannot write " + links + "/Tool.url"),
                 qPrintable(app->lastMessage().text));
    }

    void withNothingToLinkToTheDialogDoesNotOpen() {
        app->addProgram("Tool", "Tool");
        app->context.entries().setValue("Tool", "InstallLocation", "C:\\");
        FrmSh dialog(app->host);
        QCOMPARE(dialog.exec(), int(QDialog::Rejected));
        QCOMPARE(app->lastMessage().text,
                 QString("This program has no install folder or web address to make a "
                         "shortcut to."));
    }
};

QTEST_MAIN(EditingDialogsTest)
#include "EditingDialogsTest.moc"
