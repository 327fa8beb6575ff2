// What a window sees of the main window: the shared context, the selected
// program, the programs listed, the list reload and the parent for dialogs.
// Windows depend on this interface, never on the main window itself.
#pragma once

#include <QList>
#include <QString>

class AppContext;
class QWidget;

// One row of the main list, in list order.
struct ListedProgram {
    QString key;  // the entry's subkey name
    QString text; // the row's text, the entry's DisplayName
};

class MainWindowHost {
public:
    virtual ~MainWindowHost() = default;

    virtual AppContext& context() = 0;
    // The selected row's key and text; empty when no row is selected.
    virtual QString selectedKey() const = 0;
    virtual QString selectedText() const = 0;
    // The rows of the list as shown, top to bottom.
    virtual QList<ListedProgram> listedPrograms() const = 0;
    // Re-reads the Uninstall key and rebuilds the list.
    virtual void reloadList() = 0;
    // Applies the options that change the list at once (grid lines, column
    // sizing) as Config.Ini holds them now; the options window calls it
    // after storing them.
    virtual void applyOptions() = 0;
    // The window that owns the dialogs opened over the main window.
    virtual QWidget* dialogParent() = 0;
};
