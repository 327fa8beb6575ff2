// The registry editor's text format (.reg files): writing an export exactly as
// the Windows registry editor writes it, and reading such files back.
//
// Neither half touches a store: the writer formats keys it is given, and the
// reader turns a file into operations on a sink, so that any store (the SQLite
// one here, the real registry on Windows) can use them.
#pragma once

#include "core/Registry.h"
#include "core/RegistryTypes.h"

#include <QByteArray>
#include <QList>

// One key of an export, in the order it is written: a key before its
// subkeys, subkeys ordered by name without regard to case.
struct RegExportKey {
    QString path; // full path, root written in full
    QList<RegValue> values;
};

// "Windows Registry Editor Version 5.00", UTF-16LE with byte-order mark, CR LF.
QByteArray FormatRegFile(const QList<RegExportKey>& keys);

// The changes a .reg file asks for. Each returns false when the store failed,
// which stops the import.
class RegImportSink {
public:
    virtual ~RegImportSink() = default;
    virtual bool createKey(const KeyPath& key) = 0;
    virtual bool deleteKey(const KeyPath& key) = 0;
    virtual bool setValue(const KeyPath& key, const RegValue& value) = 0;
    virtual bool deleteValue(const KeyPath& key, const QString& name) = 0;
};

// Reads a .reg file (5.00 or REGEDIT4; UTF-16 with a byte-order mark, UTF-8
// or 8-bit text) and hands every change to the sink in file order. Lines that
// cannot be taken are reported and skipped; the rest still applies.
ImportReport ParseRegFile(const QByteArray& bytes, RegImportSink& sink);
