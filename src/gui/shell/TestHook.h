#pragma once

// Lets a test that starts the real program, and so cannot click, bring it into the state it
// needs. Read from the environment, which only such tests set:
// - QLOOM_TEST_OPEN: a project folder, opened as "Open Last Edited Project" opens one;
// - QLOOM_TEST_TITLE: then a title command, handled as if the preview page had sent it (a drag
//   is "!qLoomIDE:docMouseMove(row,x,y)").
// - QLOOM_TEST_THEN_OPEN, QLOOM_TEST_THEN_AFTER_MS: a second project, opened the same way that
//   many milliseconds later (as "Projects..." then "Open Project" would), after which the program
//   prints "qloom-test: next ready".
// - QLOOM_TEST_ANSWERS: answers for the boxes and questions to come, in order, comma-separated:
//   yes, no, cancel, ok for questions and messages, 0, 1, ... or -1 (Escape) for choices. With it
//   set, every box is answered (unanswered ones with their default) and its text printed as
//   "qloom-test: box: TEXT" on one line; a request of a second program to come to the front
//   prints "qloom-test: raised".
// When both steps are done the program prints "qloom-test: ready" on its standard output. With
// none of the variables set nothing happens. Compiled only into qloom_test_program (src/app), the
// variant of the program those tests start; the shipped qloom has no such door.

namespace qloom::gui {

class MainWindow;

// Schedules the steps for the first turn of the event loop.
void RunTestHookFromEnvironment(MainWindow& main);
// Gives the session of `main` a prompter that answers from QLOOM_TEST_ANSWERS; before anything
// can show a box.
void PrepareTestAnswersFromEnvironment(MainWindow& main);

} // namespace qloom::gui
