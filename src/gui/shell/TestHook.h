#pragma once

// Lets a test that starts the real program, and so cannot click, bring it into the state it
// needs. Read from the environment, which only such tests set:
// - QLOOM_TEST_OPEN: a project folder, opened as "Open Last Edited Project" opens one;
// - QLOOM_TEST_TITLE: then a title command, handled as if the preview page had sent it (a drag
//   is "!qLoomIDE:docMouseMove(row,x,y)").
// - QLOOM_TEST_THEN_OPEN, QLOOM_TEST_THEN_AFTER_MS: a second project, opened the same way that
//   many milliseconds later (as "Projects..." then "Open Project" would), after which the program
//   prints "qloom-test: next ready".
// When both steps are done the program prints "qloom-test: ready" on its standard output. With
// neither variable set nothing happens. Compiled only into qloom_test_program (src/app), the
// variant of the program those tests start; the shipped qloom has no such door.

namespace qloom::gui {

class MainWindow;

// Schedules the steps for the first turn of the event loop.
void RunTestHookFromEnvironment(MainWindow& main);

} // namespace qloom::gui
