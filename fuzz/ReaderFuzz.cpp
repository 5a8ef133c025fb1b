// Feeds arbitrary bytes to the script reader. Besides the sanitizers' checks: a loaded project
// stays inside the table, and whatever was loaded, written again, reads back to the same project.

#include "model/Conversions.h"
#include "script/ScriptReader.h"
#include "script/ScriptSaver.h"
#include "script/ScriptWriter.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

void check(bool condition) {
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Reused, so the loads also exercise taking over into a project that already holds menus.
    static qloom::Project loaded;
    static qloom::Project reread;
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    const qloom::LoadResult result = qloom::LoadProjectFromText(text, loaded);
    const qloom::Project& t = loaded;
    check(t.menuCount() >= 0 && t.menuCount() <= qloom::Project::kCapacity);
    if (result.outcome != qloom::LoadOutcome::Loaded)
        return 0;

    const std::string written = qloom::AssembleScript(loaded, false);
    const qloom::LoadResult again = qloom::LoadProjectFromText(written, reread);
    check(again.outcome == qloom::LoadOutcome::Loaded);
    check(again.messages.empty());
    reread.settings.projectFolder = loaded.settings.projectFolder;
    check(reread.settings == loaded.settings);
    const qloom::Project& r = reread;
    check(r.menuCount() == t.menuCount());
    for (int32_t i = 0; i < t.menuCount(); ++i) {
        check(r.menus[i].captionHtml == t.menus[i].captionHtml &&
              r.menus[i].bodyHtml == t.menus[i].bodyHtml);
        check(r.menus[i].left == t.menus[i].left && r.menus[i].top == t.menus[i].top &&
              r.menus[i].width == t.menus[i].width &&
              r.menus[i].captionHeight == t.menus[i].captionHeight &&
              r.menus[i].activation == t.menus[i].activation &&
              r.menus[i].floating == t.menus[i].floating &&
              r.menus[i].orientation == t.menus[i].orientation &&
              r.menus[i].bottomColor == t.menus[i].bottomColor &&
              r.menus[i].captionColor == t.menus[i].captionColor &&
              r.menus[i].bodyColor == t.menus[i].bodyColor);
    }
    return 0;
}
