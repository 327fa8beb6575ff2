// Feeds arbitrary bytes to the INI reader: the file must come back byte for
// byte, and a value written must read back.
#include "core/IniFile.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    IniDocument doc = IniDocument::parse(bytes);
    if (doc.bytes() != bytes)
        std::abort();
    doc.value(QStringLiteral("Main"), QStringLiteral("Ul"));
    doc.keys(QStringLiteral("Main"));
    doc.setValue(QStringLiteral("Main"), QStringLiteral("Ul"), QStringLiteral(" 2"));
    if (doc.value(QStringLiteral("Main"), QStringLiteral("Ul")) != QStringLiteral("2"))
        std::abort();
    doc.removeKey(QStringLiteral("Main"), QStringLiteral("Ul"));
    doc.removeSection(QStringLiteral("Main"));
    return 0;
}
