#pragma once

// The units of the main window that the parse and download workers drive:
// the four edit boxes' contents, the first status-bar section of `状态条1` and the
// report list `超级列表框1` (rows and columns from 0). Each operation is one
// complete operation of the runtime, callable from a worker; a worker told to
// stop unwinds from it instead of changing anything.
//
// The workers see the window only through this face, so that their runs can
// be driven against a recording list as well as the real one.

#include <cstdint>

#include "app/CoreCommands.h"

namespace vellumry::app {

enum class EditBox { StartPage, EndPage, PageAddress, SaveFolder };

class MainWindowUnits {
public:
    virtual ~MainWindowUnits() = default;

    virtual OwnedText Content(EditBox box) = 0;
    // Writes every edit box's content to the settings file.
    virtual void SaveSettings() = 0;
    virtual void SetStatusText(const char* text) = 0;
    // Appends an empty row and answers its index.
    virtual std::int32_t InsertRow() = 0;
    virtual void SetCellText(std::int32_t row, std::int32_t column, const char* text) = 0;
    virtual OwnedText GetCellText(std::int32_t row, std::int32_t column) = 0;
    virtual std::int32_t GetRowCount() = 0;
    virtual void EnsureRowVisible(std::int32_t row) = 0;
};

// The report list's columns.
inline constexpr std::int32_t kNumberColumn = 0;
inline constexpr std::int32_t kAddressColumn = 1;
inline constexpr std::int32_t kStatusColumn = 2;

}  // namespace vellumry::app
