#pragma once

// Picture files made with Qt for tests of code that reads them.

#include <QColor>

#include <cstdint>
#include <vector>

namespace vellumry::test {

std::vector<std::uint8_t> IcoFileBytes(int size, QColor colour);
std::vector<std::uint8_t> JpegFileBytes(int width, int height, QColor colour);

}  // namespace vellumry::test
