// The find panel ("Side") beside the program list: search the listed
// programs by name or publisher (read from the store), step through the
// matches with "Find Next", and colour the found items.
#pragma once

#include <QFrame>

class AppContext;
class ProgramListView;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class Url;

// Positions (from 1) of the list rows whose field contains the text.
QList<int> FindMatches(class UninstallEntries& entries, const QStringList& keys,
                       const QString& field, const QString& text, bool matchCase);

class FindPanel : public QFrame {
    Q_OBJECT
public:
    FindPanel(AppContext& context, ProgramListView* list, QWidget* parent = nullptr);

    // Shows the panel with "Search By" reset to "Program Name".
    void reset();
    void focusSearchText();
    void findNext();
    int findPosition() const { return findPosition_; }
    QColor foundColor() const;

signals:
    // An item got the found colour: the "Remove Items Colors" command applies.
    void itemsColoured();

private:
    void buildMatches();

    AppContext& context_;
    ProgramListView* list_;
    QLineEdit* text_;
    QComboBox* param_;
    QCheckBox* matchCase_;
    QCheckBox* colour_;
    Url* selectColour_;
    QFrame* shape_;
    QPushButton* search_;
    QListWidget* matches_;
    QColor shapeColor_;
    short findPosition_ = 0;
};
