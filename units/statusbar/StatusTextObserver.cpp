#include "units/statusbar/StatusTextObserver.h"

#include <utility>

namespace vellumry::units {
namespace {

StatusTextObserver& Observer()
{
    static StatusTextObserver observer;
    return observer;
}

}  // namespace

void SetStatusTextObserver(StatusTextObserver observer)
{
    Observer() = std::move(observer);
}

void NotifyStatusText(forms::FormId form, forms::UnitId unit, std::int32_t part, std::string_view gbkText)
{
    // A copy: the observer may replace itself.
    if (StatusTextObserver observer = Observer())
        observer(form, unit, part, gbkText);
}

}  // namespace vellumry::units
