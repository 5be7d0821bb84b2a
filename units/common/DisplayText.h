#pragma once

// The units keep their texts in GBK, as the runtime does; their widgets show
// Unicode. The two conversions at that edge.

#include <QString>

#include <string>
#include <string_view>

namespace vellumry::units {

QString DisplayText(std::string_view gbk);
std::string StoredText(const QString& shown);

}  // namespace vellumry::units
