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
    // Projects hold the full table capacity; build them once.
    static qloom::Project loaded;
    static qloom::Project reread;
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    const auto ignore = [](const std::string&) {};
    const qloom::LoadResult result = qloom::LoadProjectFromText(text, loaded, ignore);
    const qloom::MenuTable& t = loaded.table;
    check(t.MenuCount >= 0 && t.MenuCount <= qloom::MenuTable::kCapacity);
    if (result.outcome != qloom::LoadOutcome::Loaded)
        return 0;

    qloom::ComposeScript(loaded, false);
    const std::string written = qloom::AssembleScript(loaded, false);
    size_t messages = 0;
    const auto count = [&messages](const std::string&) { ++messages; };
    check(qloom::LoadProjectFromText(written, reread, count).outcome == qloom::LoadOutcome::Loaded);
    check(messages == 0);
    reread.settings.ProjectFolder = loaded.settings.ProjectFolder;
    check(reread.settings == loaded.settings);
    const qloom::MenuTable& r = reread.table;
    check(r.MenuCount == t.MenuCount);
    for (int32_t i = 0; i < t.MenuCount; ++i) {
        check(r.MTC[i] == t.MTC[i] && r.MTM[i] == t.MTM[i]);
        check(r.MX[i] == t.MX[i] && r.MY[i] == t.MY[i] && r.MW[i] == t.MW[i] &&
              r.MTCH[i] == t.MTCH[i] && r.MA[i] == t.MA[i] && r.FL[i] == t.FL[i] &&
              r.OO[i] == t.OO[i] && r.CO[i] == t.CO[i] && r.CC[i] == t.CC[i] && r.CM[i] == t.CM[i]);
    }
    return 0;
}
