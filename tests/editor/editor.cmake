qloom_gtest(editor_logic_tests EditorRulesTest.cpp LIBS qloom_guilogic)

if(QLOOM_GUI)
    # The main-window stand-in is shared with the preview tests.
    add_library(qloom_mainfixture STATIC MainFixture.cpp)
    target_include_directories(qloom_mainfixture PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
    target_link_libraries(qloom_mainfixture PUBLIC qloom_gui qloom_options)

    add_executable(editor_gui_tests PropertyEditorTest.cpp)
    target_link_libraries(editor_gui_tests PRIVATE qloom_mainfixture Qt6::Test)
    add_test(NAME editor_gui_tests COMMAND editor_gui_tests)
    set_tests_properties(editor_gui_tests PROPERTIES
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 120)
endif()
