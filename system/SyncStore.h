// Every line of the sync that talks to the store, kept in one place.
#pragma once

#include "core/SqliteStore.h"
#include "system/SystemSync.h"

#include <memory>
#include <optional>

// Opens the store file; nothing when it cannot be opened (error says why).
std::unique_ptr<SqliteStore> OpenSyncStore(const QString& file, QString* error);

// The Uninstall key under HKEY_LOCAL_MACHINE, read in one snapshot: the
// source's entries with all their values, and the names of the others.
// Nothing when the store cannot be read (error says why).
std::optional<UninstallKeyView> ReadUninstallKey(SqliteStore& store, QString* error);

// Makes the plan's changes in one write transaction.
StoreResult ApplySyncPlan(SqliteStore& store, const SyncPlan& plan);
