// The registry editor's text format (.reg files): writing an export exactly as
// the Windows registry editor writes it, and reading such files back.
//
// Neither half touches a store: the writer formats keys it is given, and the
// reader turns a file into operations on a sink, so that any store (the SQLite
// one here, the real registry on Windows) can use them. Both stream: a file
// of any size is written and read with a small, fixed amount of memory.
#pragma once

#include "core/Registry.h"
#include "core/RegistryTypes.h"

#include <QByteArray>
#include <QList>

#include <functional>

class QIODevice;
class WholeFileWriter;

// Writes "Windows Registry Editor Version 5.00" (UTF-16LE with byte-order
// mark, CR LF) as keys and values are handed to it, in chunks, to a byte sink.
class RegFileWriter {
public:
    // Receives the next chunk of the file; returns false when it could not
    // take it, which stops the writer.
    using Sink = std::function<bool(QByteArrayView)>;
    explicit RegFileWriter(Sink sink);
    explicit RegFileWriter(WholeFileWriter& file);

    // Starts a key (its full path, root written in full); its values follow.
    bool beginKey(const QString& fullPath);
    bool writeValue(const RegValue& value);
    // Ends the file and hands over what is still buffered.
    bool finish();
    // A write was refused; nothing more is written.
    bool failed() const { return failed_; }

private:
    bool flushIfFull();
    bool flush();

    Sink sink_;
    QString buffer_;
    bool failed_ = false;
};

// One key of an export, in the order it is written: a key before its
// subkeys, subkeys ordered by name without regard to case.
struct RegExportKey {
    QString path; // full path, root written in full
    QList<RegValue> values;
};

// The whole file in memory (tests, benchmarks and small exports).
QByteArray FormatRegFile(const QList<RegExportKey>& keys);

// The changes a .reg file asks for, in file order. Values go to the key
// opened last. An Invalid result skips the line (it is reported with the
// result's message); any other failure stops the import.
class RegImportSink {
public:
    virtual ~RegImportSink() = default;
    // Creates the key when it is missing; the values that follow go to it.
    virtual StoreResult openKey(const KeyPath& key) = 0;
    // Deletes the key with everything below it; a missing key is no failure.
    virtual StoreResult deleteKey(const KeyPath& key) = 0;
    virtual StoreResult setValue(const RegValue& value) = 0;
    // A missing value is no failure.
    virtual StoreResult deleteValue(const QString& name) = 0;
};

// Reads a .reg file (5.00 or REGEDIT4; UTF-16 with a byte-order mark, UTF-8
// or 8-bit text) line by line from the device and hands every change to the
// sink in file order. Lines that cannot be taken are reported and skipped;
// the rest still applies. A read error ends the import with imported false.
ImportReport ParseRegFile(QIODevice& in, RegImportSink& sink);
ImportReport ParseRegFile(const QByteArray& bytes, RegImportSink& sink);
