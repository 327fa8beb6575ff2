// The entry editor's two value dialogs: FrmEdit_Add ("New") for a new value
// and FrmEdit_Edit ("Edit") for changing a listed one. Neither writes to the
// store: the editor takes the name and data they accept into its list.
#pragma once

#include <QDialog>

class EntryValuesModel;
class MessageService;
class QLineEdit;
class QPushButton;

// "The name "X" is already exists , Please type another name"
QString DuplicateValueNameMessage(const QString& name);

class ValueDialog : public QDialog {
    Q_OBJECT
public:
    QString name() const;
    QString value() const;

protected:
    ValueDialog(const char* objectName, const QString& caption, const EntryValuesModel& values,
                MessageService& messages, QWidget* parent);
    void keyPressEvent(QKeyEvent* event) override;
    // Refuses a name another row has (letter case aside): tells the user and
    // selects the name for retyping.
    bool refuseDuplicate();

    const EntryValuesModel& values_;
    MessageService& messages_;
    QLineEdit* txtName_;
    QLineEdit* txtValue_;
    QPushButton* ok_;
};

class FrmEdit_Add final : public ValueDialog {
    Q_OBJECT
public:
    FrmEdit_Add(const EntryValuesModel& values, MessageService& messages,
                QWidget* parent = nullptr);

private:
    void updateOk();
};

class FrmEdit_Edit final : public ValueDialog {
    Q_OBJECT
public:
    // Edits the row r of values.
    FrmEdit_Edit(const EntryValuesModel& values, int r, MessageService& messages,
                 QWidget* parent = nullptr);

private:
    void updateOk();
    QString initialName_;
    QString initialValue_;
};
