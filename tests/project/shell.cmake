qloom_gtest(project_shell_logic_tests ShellLogicTest.cpp LIBS qloom_guilogic)

if(QLOOM_GUI)
    add_executable(project_shell_gui_tests ShellGuiTest.cpp)
    target_link_libraries(project_shell_gui_tests PRIVATE qloom_gui qloom_options Qt6::Test)
    add_test(NAME project_shell_gui_tests COMMAND project_shell_gui_tests)
    set_tests_properties(project_shell_gui_tests PROPERTIES
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 300)
endif()
