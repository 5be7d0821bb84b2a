#pragma once

// A unit's property record while a form description is read: it starts from
// the record's defaults, takes field values by name and is saved with the
// same record code the units load with (units/RecordFormat.h).

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/DataTypeTag.h"

namespace vellumry::formbuilder {

struct FieldValue {
    enum class Kind { Number, Text, Bytes, Empty };
    Kind kind = Kind::Empty;
    std::int64_t number = 0;
    std::string text;  // GBK
    std::vector<std::uint8_t> bytes;
};

class RecordDraft {
public:
    virtual ~RecordDraft() = default;
    // Throws FormBuildError for a field the record does not have or a value
    // of the wrong kind or range.
    virtual void Set(std::string_view field, const FieldValue& value) = 0;
    virtual std::vector<std::uint8_t> Save() const = 0;
};

// A draft of the record that units of this type keep; null for a type
// without one.
std::unique_ptr<RecordDraft> MakeRecordDraft(runtime::DataTypeTag type);

}  // namespace vellumry::formbuilder
