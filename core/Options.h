// The user's options (section Options of Config.Ini) as one object. The main
// list's loading (hidden programs), its delete command (the confirmation),
// its double click and Enter (the action), its look (grid lines, full-row
// select, column sizing) and the options window all read them here, so that
// their keys and defaults live in one place (LoadOptionSettings).
//
// An object holds the options as Config.Ini had them when it was made; a
// reader makes a new one each time it needs them, so it always sees what the
// options window last stored.
#pragma once

#include "core/Settings.h"

#include <optional>

class Options {
public:
    // Reads the options; a missing file or key gives the key's default.
    explicit Options(const QString& configIni)
        : configIni_(configIni), values_(LoadOptionSettings(configIni)) {}

    const OptionSettings& values() const { return values_; }

    bool showHidden() const { return values_.showHidden; }       // Hi
    bool confirmDelete() const { return values_.confirmDelete; } // Conf
    // What a double click or Enter on a program runs (Sw); nothing when that
    // is switched off (ChDbl).
    std::optional<DoubleClickAction> doubleClickAction() const {
        return values_.doubleClickRuns ? std::optional(values_.doubleClickAction) : std::nullopt;
    }
    bool gridLines() const { return values_.gridLines; }             // Grids
    bool fullRowSelect() const { return values_.fullRowSelect; }     // FullRow
    bool autoSizeColumns() const { return values_.autoSizeColumns; } // Auto
    bool restorePosition() const { return values_.restorePosition; } // Xy

    // Stores all eight keys at once (SaveOptionSettings); on success they
    // become this object's values, on failure nothing changes.
    WriteResult save(const OptionSettings& values) {
        WriteResult written = SaveOptionSettings(configIni_, values);
        if (written)
            values_ = values;
        return written;
    }

private:
    QString configIni_;
    OptionSettings values_;
};
