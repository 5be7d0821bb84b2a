#pragma once

// Reads a form description: the readable text from which the form builder
// makes the window template.
//
// One statement per line; blank lines and lines starting with # are skipped;
// indentation means nothing. Texts are quoted UTF-8 (FormTokens.h) and are
// stored in GBK. Identifiers and numbers are decimal or 0x-hexadecimal.
//
//   form <FormId>                  starts a form
//   form-words <word> <word>       the two words kept with the form (0 0)
//   form-texts "<text>" "<text>"   the two texts kept with the form (empty)
//
//   unit <UnitId> <type> "<name>"  starts a unit; the type is a programming
//                                  name (window, Button, EditBox, PicBox,
//                                  StatusBar, ListView, TransLabel); a form's
//                                  first unit is its window, and only it
//     position <left> <top> <width> <height>
//     flags <n>                    bit 0 visible, 1 disabled, 2 tab stop
//     tab-order <n>                (0)
//     parent <UnitId>              (0, the form)
//     children <UnitId>...         (none; 0 separates pages)
//     event-source <UnitId>        (0)
//     mouse-pointer <hex>|empty    (00000000, the default cursor)
//     tag "<text>"                 (empty)
//     remark "<text>"              (empty)
//     event <number> <handler>|none
//     record                       the unit stores a property record; any
//                                  set, column, part or row line implies it.
//                                  Without one the unit has no unit-specific
//                                  data and starts from its defaults.
//     set <field> <value>          a field of the unit's record, by the
//                                  record's field name; the value is a
//                                  number, a "text", asset <name>,
//                                  hex <digits> or empty
//     column <width> "<title>" [align <n>] [image <n>] [image-on-right]
//                                  appends a report-list column (Columns)
//     row <kind> <image> <state-image> <indent> <item-data> "<text>" "<tip>"
//                                  appends a report-list row record
//     part <width> <style> <image> "<text>" "<tip>"
//                                  appends a status-bar part (Parts)
//
//   menu-item <UnitId> "<name>"    starts a menu item
//     caption "<text>"
//     menu-flags <n>               bit 0 hidden, 1 disabled, 2 checked
//     handler <handler>|none
//     remark "<text>"
//
// Handlers are named as in the handler list and stored as their positions
// in it (forms/EventHandlers.h); assets are named by the builder's inputs.

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "forms/description/TemplateWriter.h"

namespace vellumry::formbuilder {

struct BuildInputs {
    std::vector<std::string> handlerNames;
    std::map<std::string, std::vector<std::uint8_t>, std::less<>> assets;
};

// Throws FormBuildError with "<file>:<line>: " in front of the message.
std::vector<forms::FormDescription> ParseFormDescription(std::string_view text, std::string_view fileName,
                                                         const BuildInputs& inputs);

}  // namespace vellumry::formbuilder
