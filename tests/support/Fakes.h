// Recording fakes of the services: they remember what the window asked for
// and answer as the test scripted.
#pragma once

#include "core/AppContext.h"
#include "core/Services.h"
#include "tests/support/TestEnv.h"

#include <QList>
#include <QMap>
#include <QQueue>
#include <QSet>

struct MsgBoxCall {
    QString text;
    MsgButtons buttons;
    MsgIcon icon;
    QString title;
    int defaultButton;
};

class FakeMessageService final : public MessageService {
public:
    // Answers given in order; with none queued, the first button's answer.
    QQueue<MsgAnswer> answers;
    QList<MsgBoxCall> calls;
    MsgAnswer MsgBox(const QString& text, MsgButtons buttons, MsgIcon icon, const QString& title,
                     int defaultButton = 1) override;
};

class FakeShellService final : public ShellService {
public:
    QStringList opened;
    QStringList propertiesShown;
    bool result = true;
    bool ShellOpen(const QString& target) override {
        opened.append(target);
        return result;
    }
    bool ShowFileProperties(const QString& path) override {
        propertiesShown.append(path);
        return result;
    }
};

// Records the command lines; launches nothing unless told to pass them on to
// the real process service.
class FakeProcessService final : public ProcessService {
public:
    QStringList started;
    bool startForReal = false;
    LaunchResult nextResult{4242, LaunchError::None, QString()};
    QSet<qint64> running; // pids the fake reports as running
    // Programs started with StartProgram: the program, its arguments and its folder.
    struct Program {
        QString program;
        QStringList arguments;
        QString workingFolder;
    };
    QList<Program> programs;
    LaunchResult Start(const QString& commandLine) override;
    LaunchResult StartProgram(const QString& program, const QStringList& arguments,
                              const QString& workingFolder) override;
    bool IsRunning(qint64 pid) override;
};

class FakePrintService final : public PrintService {
public:
    struct Job {
        QString documentName;
        QString text;
        int copies;
    };
    QList<Job> jobs;
    bool result = true;
    bool PrintText(const QString& documentName, const QString& text, int copies) override {
        jobs.append({documentName, text, copies});
        return result;
    }
};

class FakeClipboardService final : public ClipboardService {
public:
    QString text;
    void SetText(const QString& t) override { text = t; }
    QString Text() override { return text; }
};

// Plays scripted answers to the dialogs and records the requests.
class FakeDialogService final : public DialogService {
public:
    QList<FileDialogRequest> fileRequests;
    QQueue<FileDialogAnswer> fileAnswers; // none queued: cancelled
    QQueue<std::optional<quint32>> colorAnswers;
    QQueue<std::optional<int>> printAnswers;
    QQueue<QString> folderAnswers;
    int colorRequests = 0;
    int printRequests = 0;
    FileDialogAnswer FileDialog(const FileDialogRequest& request) override {
        fileRequests.append(request);
        return fileAnswers.isEmpty() ? FileDialogAnswer{} : fileAnswers.dequeue();
    }
    QList<quint32> colorRequestsMade; // the first colour of each request
    std::optional<quint32> ColorDialog(quint32 initial) override {
        ++colorRequests;
        colorRequestsMade.append(initial);
        return colorAnswers.isEmpty() ? std::nullopt : colorAnswers.dequeue();
    }
    std::optional<int> PrintDialog(int) override {
        ++printRequests;
        return printAnswers.isEmpty() ? std::nullopt : printAnswers.dequeue();
    }
    QList<FolderDialogRequest> folderRequests;
    QString FolderDialog(const FolderDialogRequest& request) override {
        folderRequests.append(request);
        return folderAnswers.isEmpty() ? QString() : folderAnswers.dequeue();
    }
};

struct FakeServices {
    FakeMessageService messages;
    FakeShellService shell;
    FakeProcessService processes;
    FakePrintService printer;
    FakeClipboardService clipboard;
    FakeDialogService dialogs;
    AppServices all() {
        return AppServices{&messages, &shell, &processes, &printer, &clipboard, &dialogs};
    }
};

// A program folder of its own, the shared state over it, and the fakes wired
// in: what a window test starts from.
struct FakeApp {
    TempProgramFolder folder;
    AppContext context{folder.path()};
    FakeServices fakes;
    FakeApp() { context.setServices(fakes.all()); }
};
