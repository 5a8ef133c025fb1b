// Targets: all accessibility checks of a 10000-menu project within 20 ms; one undo step (the
// revert of a Delete, of a cell edit) in a 10000-menu project within 5 ms. The checks of the one
// menu being typed into are what runs per keystroke, so that figure is shown too.

#include "model/AccessibilityCheck.h"
#include "model/ProjectEdit.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

// Captions and bodies of the kinds the fragment tools write: formatted text, links, pictures.
std::unique_ptr<qloom::Project> project(int menus) {
    auto p = std::make_unique<qloom::Project>();
    for (int i = 0; i < menus; ++i) {
        (void)qloom::AddMenu(*p);
        p->menus[i].captionHtml = i % 3 == 0
                                      ? "<IMG SRC=\"home.gif\" BORDER=\"0\" ALT=\"Home\">"
                                      : "<FONT FACE=\"Arial\" SIZE=\"2\" COLOR=\"#FFFFFF\">Item " +
                                            std::to_string(i) + "\r\n</FONT>";
        std::string body;
        for (int line = 0; line < 6; ++line)
            body += "<A HREF=\"page" + std::to_string(line) + ".html\" class=\"clMenu\">Item " +
                    std::to_string(line) + "</A><BR>\r\n";
        body += "<IMG SRC=\"line.gif\" HEIGHT=\"2\" WIDTH=\"140\">";
        p->menus[i].bodyHtml = body;
    }
    return p;
}

void BM_CheckProject(benchmark::State& state) {
    const auto p = project(static_cast<int>(state.range(0)));
    size_t found = 0;
    for (auto _ : state) {
        auto findings = qloom::CheckProject(p->menus, p->settings);
        found = findings.size();
        benchmark::DoNotOptimize(findings.data());
    }
    state.counters["findings"] = static_cast<double>(found);
}

void BM_CheckOneMenu(benchmark::State& state) {
    const auto p = project(10000);
    std::vector<qloom::AccessibilityFinding> out;
    for (auto _ : state) {
        out.clear();
        qloom::CheckMenu(p->menus, p->settings, 5000, out);
        benchmark::DoNotOptimize(out.data());
    }
}

// Undo of Delete of the first menu: every later row moves up by one place again.
void BM_UndoDelete(benchmark::State& state) {
    auto p = project(10000);
    p->selected = 0;
    const auto del = qloom::ProjectEdit::deleteSelected(*p);
    for (auto _ : state) {
        state.PauseTiming();
        del.apply(*p);
        state.ResumeTiming();
        del.revert(*p);
    }
}

// Redo of the same Delete.
void BM_RedoDelete(benchmark::State& state) {
    auto p = project(10000);
    p->selected = 0;
    const auto del = qloom::ProjectEdit::deleteSelected(*p);
    for (auto _ : state) {
        del.apply(*p);
        state.PauseTiming();
        del.revert(*p);
        state.ResumeTiming();
    }
}

void BM_UndoCellEdit(benchmark::State& state) {
    auto p = project(10000);
    const auto edit =
        qloom::ProjectEdit::setCell(*p, 9999, &qloom::Menu::bodyHtml, std::string(300, 'x'));
    for (auto _ : state) {
        edit.apply(*p);
        edit.revert(*p);
    }
}

} // namespace

BENCHMARK(BM_CheckProject)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CheckOneMenu)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_UndoDelete)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RedoDelete)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UndoCellEdit)->Unit(benchmark::kMicrosecond);
