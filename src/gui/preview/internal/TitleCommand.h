#pragma once

// Commands the preview page sends by setting its document title, and what each asks the editor
// to do. Parsing and applying to the menu table need no widget; the preview controller carries
// out the returned action (showing a row, logging an error line, reporting a bad number).

#include "model/Project.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace qloom {

inline constexpr std::string_view kTitlePrefix = "!qLoomIDE:";
// A drag ends inside the 820 x 620 preview; a page that reports a position beyond this limit is
// clamped to it, so no absurd number reaches the table and the saved script.
inline constexpr int32_t kPageCoordinateLimit = 10000;

struct TitleCommand {
    enum class Kind {
        Ignore,     // no prefix, no command word, or no closing ")"
        Select,     // ySetSel(i)
        Move,       // docMouseMove(i,x,y), x and y clamped to +-kPageCoordinateLimit
        Error,      // ERROR(...): the whole title is logged
        BadInteger, // a field of ySetSel/docMouseMove does not convert
    };
    Kind kind = Kind::Ignore;
    int32_t index = 0;
    int32_t x = 0;
    int32_t y = 0;
    std::string text; // Error: the whole title; BadInteger: the field that did not convert
};

// The tests run in a fixed order, so a title holding several command words is decided by the
// first: ySetSel( (searched from the prefix on), then docMouseMove(, then ERROR.
TitleCommand ParseTitleCommand(std::string_view title);

struct TitleAction {
    enum class Kind {
        None,        // nothing to do (also: an index that is not a row)
        ShowRow,     // the selection (and maybe the row's position) changed: show `row`
        AppendError, // append `text` as one line to the error list
        ReportError, // a field did not convert, `text` says which; nothing was changed
    };
    Kind kind = Kind::None;
    int32_t row = -1;
    std::string text;
};

// Parses `title` and applies it to the table: a selection sets SelectedMenu, a finished drag
// moves the row and selects it. Commands naming a row outside the table change nothing. (The
// preview controller takes finished drags through the project history instead, to undo them.)
TitleAction ApplyTitleCommand(Project& table, std::string_view title);

} // namespace qloom
