#include "units/common/DisplayText.h"

#include "platform/codepage/CodePage.h"

namespace vellumry::units {

QString DisplayText(std::string_view gbk)
{
    return QString::fromStdString(codepage::GbkToUtf8(gbk));
}

std::string StoredText(const QString& shown)
{
    return codepage::Utf8ToGbk(shown.toStdString());
}

}  // namespace vellumry::units
