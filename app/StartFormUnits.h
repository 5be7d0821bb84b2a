#pragma once

// The workers' face of the start form (MainWindowUnits) over the real units:
// the edit boxes' content property, the first part of 状态条1 through SetPartText,
// the report list 超级列表框1 through its library commands, and the settings
// file beside the program. Every call is one complete operation of the
// runtime; a stopped worker unwinds at its next call and changes nothing.
// Any thread.

#include "app/MainWindowUnits.h"

namespace vellumry::app {

class StartFormUnits final : public MainWindowUnits {
public:
    OwnedText Content(EditBox box) override;
    void SaveSettings() override;
    void SetStatusText(const char* text) override;
    std::int32_t InsertRow() override;
    void SetCellText(std::int32_t row, std::int32_t column, const char* text) override;
    OwnedText GetCellText(std::int32_t row, std::int32_t column) override;
    std::int32_t GetRowCount() override;
    void EnsureRowVisible(std::int32_t row) override;

    // For the handlers: empties the report list.
    void DeleteAllRows();
};

}  // namespace vellumry::app
