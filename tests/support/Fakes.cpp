#include "tests/support/Fakes.h"

MsgAnswer FakeMessageService::MsgBox(const QString& text, MsgButtons buttons, MsgIcon icon,
                                     const QString& title, int defaultButton) {
    calls.append({text, buttons, icon, title, defaultButton});
    if (!answers.isEmpty())
        return answers.dequeue();
    switch (buttons) {
    case MsgButtons::YesNo:
    case MsgButtons::YesNoCancel:
        return MsgAnswer::Yes;
    case MsgButtons::RetryCancel:
        return MsgAnswer::Retry;
    default:
        return MsgAnswer::Ok;
    }
}

LaunchResult FakeProcessService::Start(const QString& commandLine) {
    started.append(commandLine);
    if (startForReal)
        return StartCommandLine(commandLine);
    return nextResult;
}

LaunchResult FakeProcessService::StartProgram(const QString& program, const QStringList& arguments,
                                              const QString& workingFolder) {
    programs.append({program, arguments, workingFolder});
    if (startForReal)
        return ::StartProgram(program, arguments, workingFolder);
    return nextResult;
}

bool FakeProcessService::IsRunning(qint64 pid) {
    if (startForReal)
        return IsProcessRunning(pid);
    return running.contains(pid);
}
