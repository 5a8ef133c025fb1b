#include "gui/preview/internal/TitleCommand.h"

#include "model/Conversions.h"
#include "model/Messages.h"

#include <array>

namespace qloom {
namespace {

constexpr std::string_view kSelectWord = "ySetSel(";
constexpr std::string_view kMoveWord = "docMouseMove(";
constexpr std::string_view kErrorWord = "ERROR";

// Converts every field before anything is decided, so the first bad one is reported and no
// partial command is applied.
template <size_t N>
bool ConvertFields(const std::array<std::string, N>& fields, std::array<int32_t, N>& values,
                   std::string& bad) {
    for (size_t i = 0; i < N; ++i) {
        if (!TryParseInt(fields[i], values[i])) {
            bad = fields[i];
            return false;
        }
    }
    return true;
}

TitleCommand BadInteger(std::string field) {
    TitleCommand cmd;
    cmd.kind = TitleCommand::Kind::BadInteger;
    cmd.text = std::move(field);
    return cmd;
}

} // namespace

TitleCommand ParseTitleCommand(std::string_view title) {
    TitleCommand cmd;
    const size_t prefixAt = title.find(kTitlePrefix);
    if (prefixAt == std::string_view::npos)
        return cmd;

    const size_t selectAt = title.find(kSelectWord, prefixAt);
    if (selectAt != std::string_view::npos) {
        const size_t start = selectAt + kSelectWord.size();
        const size_t close = title.find(')', start);
        if (close == std::string_view::npos)
            return cmd;
        std::array<std::string, 1> fields{std::string(title.substr(start, close - start))};
        std::array<int32_t, 1> values{};
        std::string bad;
        if (!ConvertFields(fields, values, bad))
            return BadInteger(bad);
        cmd.kind = TitleCommand::Kind::Select;
        cmd.index = values[0];
        return cmd;
    }

    const size_t moveAt = title.find(kMoveWord);
    if (moveAt != std::string_view::npos) {
        const size_t start = moveAt + kMoveWord.size();
        const size_t close = title.find(')', start);
        if (close == std::string_view::npos)
            return cmd;
        std::array<std::string, 3> fields;
        size_t field = 0;
        for (size_t i = start; i < close; ++i) {
            if (title[i] == ',')
                ++field;
            else if (field < fields.size())
                fields[field].push_back(title[i]);
        }
        std::array<int32_t, 3> values{};
        std::string bad;
        if (!ConvertFields(fields, values, bad))
            return BadInteger(bad);
        cmd.kind = TitleCommand::Kind::Move;
        cmd.index = values[0];
        cmd.x = ClampInt(values[1], -kPageCoordinateLimit, kPageCoordinateLimit);
        cmd.y = ClampInt(values[2], -kPageCoordinateLimit, kPageCoordinateLimit);
        return cmd;
    }

    if (title.find(kErrorWord) != std::string_view::npos) {
        cmd.kind = TitleCommand::Kind::Error;
        cmd.text = std::string(title);
    }
    return cmd;
}

TitleAction ApplyTitleCommand(Project& table, std::string_view title) {
    TitleCommand cmd = ParseTitleCommand(title);
    TitleAction action;
    switch (cmd.kind) {
    case TitleCommand::Kind::Ignore:
        break;
    case TitleCommand::Kind::Select:
        if (table.isRow(cmd.index)) {
            table.selected = cmd.index;
            action.kind = TitleAction::Kind::ShowRow;
            action.row = cmd.index;
        }
        break;
    case TitleCommand::Kind::Move:
        if (MoveMenu(table, cmd.index, cmd.x, cmd.y)) {
            table.selected = cmd.index;
            action.kind = TitleAction::Kind::ShowRow;
            action.row = cmd.index;
        }
        break;
    case TitleCommand::Kind::Error:
        action.kind = TitleAction::Kind::AppendError;
        action.text = std::move(cmd.text);
        break;
    case TitleCommand::Kind::BadInteger:
        action.kind = TitleAction::Kind::ReportError;
        action.text = msg::Format(msg::kNotValidInteger, cmd.text);
        break;
    }
    return action;
}

} // namespace qloom
