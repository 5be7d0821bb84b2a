#pragma once

// The identifiers of the start form's units that the application's handlers
// and workers address, as the form description (forms/MainForm.form) gives
// them. The form itself is kStartFormId (description/ProgramDescription.h).

#include "forms/description/Identifiers.h"

namespace vellumry::app {

inline constexpr forms::UnitId kMainWindowId = 0x06010000;
inline constexpr forms::UnitId kDownloadButtonId = 0x1601001B;     // 按钮_下载
inline constexpr forms::UnitId kStopButtonId = 0x16010019;         // 按钮_停止
inline constexpr forms::UnitId kClearButtonId = 0x16010018;        // 按钮_清空
inline constexpr forms::UnitId kParseButtonId = 0x16010017;        // 按钮_解析
inline constexpr forms::UnitId kReportListId = 0x16010014;         // 超级列表框1
inline constexpr forms::UnitId kEndPageBoxId = 0x1601000A;         // 编辑框_终止页码
inline constexpr forms::UnitId kStartPageBoxId = 0x16010009;       // 编辑框_起始页码
inline constexpr forms::UnitId kPageAddressBoxId = 0x16010006;     // 编辑框_网页地址
inline constexpr forms::UnitId kSaveFolderBoxId = 0x16010005;      // 编辑框_保存路径
inline constexpr forms::UnitId kStatusBarId = 0x16010004;          // 状态条1
inline constexpr forms::UnitId kFolderButtonId = 0x16010002;       // 按钮_保存路径
inline constexpr forms::UnitId kPictureBoxId = 0x160149CF;         // 图片框1

}  // namespace vellumry::app
