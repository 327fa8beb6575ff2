// Writes a registry editor export of N made-up Uninstall entries of 10 values
// each (the shape StoreBench uses), streamed as the store's own export is:
//   build/bin/make_reg_file 100000 /tmp/entries.reg
// bench/reg-scale.sh times relvano-reg importing and exporting such files.
#include "core/AppContext.h"
#include "core/RegFile.h"
#include "core/WholeFile.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_reg_file ENTRIES FILE\n");
        return 2;
    }
    const int entries = std::atoi(argv[1]);
    WholeFileWriter file(QString::fromLocal8Bit(argv[2]));
    if (!file.open()) {
        std::fprintf(stderr, "%s\n", qPrintable(file.error()));
        return 1;
    }
    RegFileWriter out(file);
    out.beginKey(AppContext::UninstallKeyFullPath.chopped(1));
    for (int i = 0; i < entries; ++i) {
        out.beginKey(AppContext::UninstallKeyFullPath +
                     QStringLiteral("{%1-PROGRAM-ENTRY}").arg(i, 8, 10, QChar(u'0')));
        const QString n = QString::number(i);
        const RegValue values[] = {
            MakeStringValue(QStringLiteral("DisplayName"), QStringLiteral("Program number ") + n),
            MakeStringValue(QStringLiteral("UninstallString"),
                            QStringLiteral("\"/opt/program") + n +
                                QStringLiteral("/uninstall\" --quiet")),
            MakeStringValue(QStringLiteral("DisplayIcon"),
                            QStringLiteral("/opt/program") + n + QStringLiteral("/icon.ico")),
            MakeStringValue(QStringLiteral("DisplayVersion"), QStringLiteral("1.2.") + n),
            MakeStringValue(QStringLiteral("Publisher"),
                            QStringLiteral("Publisher ") + QString::number(i % 50)),
            MakeStringValue(QStringLiteral("InstallDate"), QStringLiteral("20261209")),
            MakeStringValue(QStringLiteral("InstallLocation"), QStringLiteral("/opt/program") + n),
            MakeStringValue(QStringLiteral("URLInfoAbout"),
                            QStringLiteral("https://example.com/") + n),
            MakeDwordValue(QStringLiteral("EstimatedSize"), static_cast<quint32>(i * 10)),
            MakeStringValue(QStringLiteral("HelpLink"), QStringLiteral("mailto:help@example.com")),
        };
        for (const RegValue& value : values)
            out.writeValue(value);
    }
    if (!out.finish() || !file.commit()) {
        std::fprintf(stderr, "%s\n", qPrintable(file.error()));
        return 1;
    }
    return 0;
}
