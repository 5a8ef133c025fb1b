qloom_gtest(preview_logic_tests TitleCommandTest.cpp PreviewLogicTest.cpp LIBS qloom_guilogic)

if(QLOOM_GUI)
    add_executable(preview_gui_tests PreviewTest.cpp)
    target_link_libraries(preview_gui_tests PRIVATE qloom_mainfixture Qt6::Test)
    add_test(NAME preview_gui_tests COMMAND preview_gui_tests)
    set_tests_properties(preview_gui_tests PROPERTIES
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QT_LOGGING_RULES=qt.webenginecontext.info=false"
        TIMEOUT 300)
endif()
