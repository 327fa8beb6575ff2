// Helpers for windows: file icons, the colour gradient, the usual layouts of
// dialogs and status bars, menu radio marks, closing on Esc and removing the
// close command.
#pragma once

#include <QColor>
#include <QIcon>
#include <QImage>
#include <QKeySequence>
#include <QList>
#include <QWidget>

class QDialog;
class QLabel;
class QLayout;
class QMainWindow;
class QMenu;
class QPainter;
class QPushButton;
class QStatusBar;
class QToolBar;
class QWidget;

// The desktop's icon for a file: an icon file's own images (.ico, and the
// .png, .svg and .xpm files Linux programs use), else the icon of its type.
// No icon (a null QIcon) when the file does not exist.
QIcon GetFileIcon(const QString& path, bool large);

// The images of an icon file, for reading off the GUI thread: whatever a
// file holds, the work is bounded (files over maxBytes are not read, at most
// maxImages images are taken, vector images are drawn at 64 pixels). Empty
// when the file is not an icon file or cannot be read.
constexpr qint64 IconFileMaxBytes = 8 * 1024 * 1024;
constexpr int IconFileMaxImages = 16;
bool IsIconImageFile(const QString& path);
QList<QImage> ReadIconImages(const QString& path, qint64 maxBytes = IconFileMaxBytes,
                             int maxImages = IconFileMaxImages);

// Paints width + 1 vertical lines from left to right whose colour runs
// linearly from start to end. A surface of width 0 gets one line in start.
void DrawGradient(QPainter& painter, int width, int height, const QColor& start, const QColor& end);

// A strip painted with DrawGradient from start at its left edge to end at
// its right edge: the header bands of the wizards and the quick tour.
class GradientStrip : public QWidget {
public:
    GradientStrip(const QColor& start, const QColor& end, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor start_;
    QColor end_;
};

// A menu item or tool-bar button named for the tests and the enabling rules
// (its objectName), with its caption, icon and shortcut.
QAction* AddMenuItem(QMenu* menu, const char* name, const QString& caption,
                     const QKeySequence& shortcut = QKeySequence());
QAction* AddToolButton(QToolBar* toolBar, const char* name, const QString& caption,
                       const QIcon& icon = QIcon());

// The layout of a small dialog: its fields at the top, the spare room below
// them, and the buttons in a row at the bottom right, in the order given.
void LayOutDialog(QDialog* dialog, QLayout* fields, const QList<QPushButton*>& buttons);

// The "Cancel" button of a dialog ("Cmd_Cancel"), which rejects it. Like any
// button it takes Enter while it has the focus; otherwise Enter goes to the
// dialog's default button.
QPushButton* MakeCancelButton(QDialog* dialog);

// The status bar "Sb" of a window without a size grip, holding the panels
// left to right; the first one takes the spare width.
QStatusBar* MakeStatusBar(QWidget* window, const QList<QLabel*>& panels);

// Marks the checked item of the menu-bar menu at menuNumber with a radio
// mark, clearing the other items from first to last; all numbers count from
// 1, separators included.
void SetMenuRadio(QMainWindow* window, int menuNumber, int checked, int first, int last);

// Closes the window when the key is Esc (Qt::Key_Escape, or the code 27).
void CloseOnEsc(int key, QWidget* window);

// Takes the close command away from a window: its close button is removed.
// The items are counted from the end of the window menu: a = 1 is "Close",
// b = 2 the separator above it, which Qt does not have.
void RemoveSystemMenuItems(QWidget* window, int a, int b);
