#pragma once

// The addresses and patterns of a gallery run, as runtime texts:
// - the base address: the typed page address with every ".shtml" removed;
// - a page address: base address + "_" + page number + ".shtml" (page 1
//   included: the typed address itself is never fetched);
// - the section pattern, which cuts the share section out of a page;
// - the picture pattern: an image tag whose source starts with the picture
//   prefix (the picture host + "/740x-/uploadImages/"), sub-match 1 the rest
//   of the source up to the closing quote. "#引号" stands for the quote; the
//   host is inserted as it is, its dots unescaped.
// Any thread.

#include <cstdint>

#include "app/CoreCommands.h"

namespace vellumry::app {

OwnedText BaseAddress(const char* typedAddress);
OwnedText PageAddress(const char* baseAddress, std::int32_t page);
OwnedText PicturePattern(const char* pictureHost);
OwnedText PicturePrefix(const char* pictureHost);
// The row number text of a 0-based row: row + 1 as the runtime prints a
// double, which has no decimal point for whole numbers.
OwnedText RowNumberText(std::int32_t row);

}  // namespace vellumry::app
