// Window helpers: icons, gradient, radio marks, Esc and the close command.
#include "controls/WindowHelpers.h"
#include "tests/support/TestEnv.h"

#include <QAction>
#include <QImage>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QtTest>

class WindowHelpersTest : public QObject {
    Q_OBJECT
private slots:
    void gradientRunsFromStartToEndColour() {
        QImage image(101, 4, QImage::Format_RGB32);
        image.fill(Qt::black);
        QPainter painter(&image);
        DrawGradient(painter, 100, 4, QColor(0, 0, 255), QColor(200, 100, 55));
        painter.end();
        QCOMPARE(QColor(image.pixel(0, 1)), QColor(0, 0, 255));
        QCOMPARE(QColor(image.pixel(100, 1)), QColor(200, 100, 55));
        QCOMPARE(QColor(image.pixel(50, 1)), QColor(100, 50, 155));
        // A surface of no width gets one line and no division by zero.
        QImage thin(1, 4, QImage::Format_RGB32);
        thin.fill(Qt::black);
        QPainter p2(&thin);
        DrawGradient(p2, 0, 4, Qt::red, Qt::blue);
        p2.end();
        QCOMPARE(QColor(thin.pixel(0, 0)), QColor(Qt::red));
    }

    void menuRadioMarksOneItemOfTheRange() {
        QMainWindow window;
        window.menuBar()->addMenu("&File")->addAction("Exit");
        QMenu* view = window.menuBar()->addMenu("&View");
        QAction* large = view->addAction("Large Icons");
        QAction* small = view->addAction("Small Icons");
        view->addSeparator();
        QAction* details = view->addAction("Details");
        QAction* outside = view->addAction("Refresh");
        SetMenuRadio(&window, 2, 4, 1, 4);
        QVERIFY(!large->isChecked());
        QVERIFY(!small->isChecked());
        QVERIFY(details->isChecked());
        QVERIFY(!outside->isCheckable());
        QVERIFY(large->actionGroup() && large->actionGroup() == details->actionGroup());
        SetMenuRadio(&window, 2, 1, 1, 4);
        QVERIFY(large->isChecked());
        QVERIFY(!details->isChecked());
        SetMenuRadio(&window, 9, 1, 1, 2); // no such menu: nothing happens
        SetMenuRadio(nullptr, 1, 1, 1, 1);
    }

    void escClosesTheWindow() {
        QWidget window;
        window.show();
        CloseOnEsc(Qt::Key_A, &window);
        QVERIFY(window.isVisible());
        CloseOnEsc(Qt::Key_Escape, &window);
        QVERIFY(!window.isVisible());
        window.show();
        CloseOnEsc(27, &window);
        QVERIFY(!window.isVisible());
    }

    void removingTheCloseItemRemovesTheCloseButton() {
        QWidget window;
        RemoveSystemMenuItems(&window, 1, 2);
        QVERIFY(!(window.windowFlags() & Qt::WindowCloseButtonHint));
    }

    void fileIcons() {
        TempProgramFolder folder;
        QImage image(32, 32, QImage::Format_ARGB32);
        image.fill(Qt::red);
        QVERIFY(image.save(folder.file("app.ico"), "ICO"));
        const QIcon ico = GetFileIcon(folder.file("app.ico"), true);
        QVERIFY(!ico.isNull());
        QCOMPARE(QColor(ico.pixmap(32, 32).toImage().pixel(16, 16)), QColor(Qt::red));
        QVERIFY(GetFileIcon(folder.file("missing.exe"), true).isNull());
        QVERIFY(GetFileIcon(QString(), false).isNull());
        WriteFileBytes(folder.file("tool.exe"), "MZ");
        QVERIFY(!GetFileIcon(folder.file("tool.exe"), false).isNull());
    }
};

QTEST_MAIN(WindowHelpersTest)
#include "WindowHelpersTest.moc"
