#include "units/statusbar/StatusBarParts.h"

namespace vellumry::units {
namespace {

using P = StatusBarPart;

constexpr RecordField<P> kFields[] = {
    {"Width", &P::Width},
    {"Style", &P::Style},
    {"ImageIndex", &P::ImageIndex},
    ZeroTerminatedText<P>("Text", &P::Text),
    ZeroTerminatedText<P>("TipText", &P::TipText),
};

constexpr RecordLayout<P> kLayout{"StatusBarPart", 0, kFields, false};

}  // namespace

template <>
const RecordLayout<StatusBarPart>& LayoutOf<StatusBarPart>()
{
    return kLayout;
}

std::optional<std::vector<StatusBarPart>> ParseStatusBarParts(std::span<const std::uint8_t> block)
{
    return LoadRecordList<StatusBarPart>(block, ListForm::Counted);
}

std::vector<std::uint8_t> WriteStatusBarParts(std::span<const StatusBarPart> parts)
{
    return SaveRecordList(parts, ListForm::Counted);
}

}  // namespace vellumry::units
