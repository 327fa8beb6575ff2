// A store that can be told to fail its reads, as a busy or damaged store
// does: everything else goes to a real store file.
#pragma once

#include "core/SqliteStore.h"

class FlakyStore final : public Registry {
public:
    explicit FlakyStore(const QString& file) : store_(file) {}

    bool failReads = false;
    SqliteStore& real() { return store_; }

    ValueRead ReadStringValue(RootKey root, const QString& path, const QString& name) override {
        if (failReads)
            return {ReadStatus::Failed, QString()};
        return store_.ReadStringValue(root, path, name);
    }
    std::unique_ptr<ReadBatch> BeginReadBatch() override { return store_.BeginReadBatch(); }
    StoreResult keyExists(const KeyPath& key) override {
        return failReads ? failure() : store_.keyExists(key);
    }
    StoreResult readKey(const KeyPath& key, QList<RegValue>* values,
                        QStringList* subkeys) override {
        return failReads ? failure() : store_.readKey(key, values, subkeys);
    }
    StoreResult createKey(const KeyPath& key) override { return store_.createKey(key); }
    StoreResult setValue(const KeyPath& key, const RegValue& value) override {
        return store_.setValue(key, value);
    }
    StoreResult deleteKey(const KeyPath& key) override { return store_.deleteKey(key); }
    StoreResult deleteValue(const KeyPath& key, const QString& name) override {
        return store_.deleteValue(key, name);
    }
    StoreResult readSubkeyValues(const KeyPath& key, const QStringList& valueNames,
                                 QList<SubkeyValues>* entries) override {
        return failReads ? failure() : store_.readSubkeyValues(key, valueNames, entries);
    }
    StoreResult exportTree(const KeyPath& key, RegFileWriter& out) override {
        return failReads ? failure() : store_.exportTree(key, out);
    }
    StoreResult importFrom(QIODevice& in, ImportReport* report) override {
        return store_.importFrom(in, report);
    }

private:
    static StoreResult failure() {
        return {StoreStatus::Busy, QStringLiteral("the store is busy")};
    }
    SqliteStore store_;
};
