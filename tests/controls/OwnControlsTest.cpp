// The own controls: gradient progress bar, hyperlink label, self-drawn
// label, etched line and folder chooser.
#include "controls/BrowseFolders.h"
#include "controls/Lbl.h"
#include "controls/Line.h"
#include "controls/ProgBar.h"
#include "controls/Url.h"
#include "tests/support/Fakes.h"

#include <QtTest>

class OwnControlsTest : public QObject {
    Q_OBJECT
private slots:
    void progressBarValues() {
        FakeMessageService messages;
        ProgBar bar;
        bar.setMessageService(&messages);
        bar.resize(104, 20);
        bar.StartColor = 0x0000FF;
        bar.EndColor = 0xFF0000;
        QVERIFY(bar.barRect().isEmpty());
        bar.setValue(100);
        QCOMPARE(bar.barRect(), QRect(2, 2, 100, 16));
        bar.setValue(50);
        QCOMPARE(bar.barRect().width(), 50);
        const QImage image = bar.grab().toImage();
        QCOMPARE(QColor(image.pixel(2, 10)), QColor(Qt::red));
        QCOMPARE(QColor(image.pixel(51, 10)), QColor(Qt::blue));
        QVERIFY(messages.calls.isEmpty());
        for (int bad : {-1, 101}) {
            bar.setValue(50);
            bar.setValue(bad);
            QCOMPARE(bar.Value(), short(0));
        }
        QCOMPARE(messages.calls.size(), 2);
        QCOMPARE(messages.calls[0].title, QString("KVT Progress Bar"));
        QCOMPARE(
            messages.calls[0].text,
            QString(
                "Invalid Value , Bar value can,t be larger than Max value or smaller than Zero"));
    }

    void hyperlinkLabel() {
        FakeShellService shell;
        Url url;
        url.setShellService(&shell);
        url.setCaption("Select Color");
        url.resize(url.sizeHint());
        url.show();
        QSignalSpy clicks(&url, &Url::clicked);
        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
        QApplication::sendEvent(&url, &enter);
        QVERIFY(url.isHovered());
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(&url, &leave);
        QVERIFY(!url.isHovered());
        QTest::mouseClick(&url, Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(clicks.size(), 1);
        QVERIFY(!url.isHovered());
        QVERIFY(url.SendEmail("help@example.com"));
        QCOMPARE(shell.opened.last(), QString("mailto:help@example.com"));
        QVERIFY(url.OpenPath("https://example.com", 3));
        QCOMPARE(shell.opened.last(), QString("https://example.com"));
    }

    void labelLineAndFolders() {
        Lbl label;
        label.setText("Text");
        label.TextLeft = 4;
        label.resize(200, 40);
        QCOMPARE(label.textRect().topLeft(), QPoint(4, 0));
        QPixmap picture(24, 24);
        picture.fill(Qt::blue);
        label.setPicture(picture);
        label.LabelStyle = 1;
        QCOMPARE(label.textRect().left(), 28);
        QCOMPARE(label.textRect().center().y(),
                 20 - (label.textRect().height() % 2 ? 0 : 1) + 0 * 0);

        Line line;
        QCOMPARE(line.height(), 2);
        line.setLineType(1);
        QCOMPARE(line.width(), 2);

        FakeDialogService dialogs;
        BrowseFolders browse(&dialogs);
        QCOMPARE(browse.flags(), 0);
        browse.EditBox = true;
        QCOMPARE(browse.flags(), 19);
        browse.NewStyle = true;
        QCOMPARE(browse.flags(), 67);
        dialogs.folderAnswers.enqueue("/opt/chosen");
        QWidget owner;
        QCOMPARE(browse.BrowseForFolder(&owner, "Choose"), QString("/opt/chosen"));
        // The chooser gets the flags and the owner.
        QCOMPARE(dialogs.folderRequests[0].flags, 67u);
        QCOMPARE(dialogs.folderRequests[0].owner, &owner);
        QCOMPARE(dialogs.folderRequests[0].title, QString("Choose"));
        browse.IncludeFiles = true;
        browse.NewStyle = false;
        QCOMPARE(browse.BrowseForFolder(nullptr, "Choose"), QString());
        QCOMPARE(dialogs.folderRequests[1].flags, 16387u);
    }
};

QTEST_MAIN(OwnControlsTest)
#include "OwnControlsTest.moc"
