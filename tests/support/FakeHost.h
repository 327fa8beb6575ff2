// A stand-in for the main window, as the windows see it: the test sets the
// listed programs and the selection, and counts the list reloads and the
// times the options were applied.
#pragma once

#include "core/AppContext.h"
#include "dialogs/MainWindowHost.h"

#include <QWidget>

class FakeHost final : public MainWindowHost {
public:
    explicit FakeHost(AppContext& context) : context_(context) {}

    // The listed programs: every entry of the store with a DisplayName, in
    // the store's order; the selection is the row with this key (none when
    // empty).
    void listEntries() {
        programs.clear();
        for (const QString& key : context_.entries().keys()) {
            const QString name = context_.entries().value(key, QStringLiteral("DisplayName"));
            if (!name.isEmpty())
                programs.append({key, name});
        }
    }
    void select(const QString& key) { selected = key; }

    QList<ListedProgram> programs;
    QString selected;
    int reloads = 0;
    int optionsApplied = 0;
    QWidget parent;

    AppContext& context() override { return context_; }
    QString selectedKey() const override { return row() ? row()->key : QString(); }
    QString selectedText() const override { return row() ? row()->text : QString(); }
    QList<ListedProgram> listedPrograms() const override { return programs; }
    void reloadList() override {
        ++reloads;
        listEntries();
    }
    void applyOptions() override { ++optionsApplied; }
    QWidget* dialogParent() override { return &parent; }

private:
    const ListedProgram* row() const {
        for (const ListedProgram& p : programs)
            if (p.key == selected)
                return &p;
        return nullptr;
    }
    AppContext& context_;
};
