// Deleting and exporting the selected entry from the main window: the
// question asked before a delete and the file an export goes to.
#pragma once

#include "core/AppContext.h"

class QWidget;

// The question asked before a delete.
QString DeleteConfirmationText(const QString& displayName);

enum class DeleteOutcome { Cancelled, Deleted, NotBackedUp };
// Asks (when confirm is set), backs the entry up and deletes it. When the
// backup could not be written nothing is deleted and the user is told.
DeleteOutcome DeleteEntry(AppContext& context, const QString& key, const QString& displayName,
                          bool confirm);

// The file an export goes to: the chosen name, with ".reg" appended unless it
// already ends so (in any case); empty when the result is too short.
QString ExportFileName(const QString& chosen);
// Asks for a file with the save dialog and exports the entry to it.
bool ExportEntry(AppContext& context, QWidget* owner, const QString& key,
                 const QString& displayName);
