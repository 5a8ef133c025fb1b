if(TARGET qloom_cli_lib)
    qloom_gtest(cli_tests
        ${CMAKE_CURRENT_LIST_DIR}/Base64Test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/ProjectJsonTest.cpp
        ${CMAKE_CURRENT_LIST_DIR}/CliTest.cpp
        ${CMAKE_CURRENT_LIST_DIR}/DumpWriteTest.cpp
        ${CMAKE_CURRENT_LIST_DIR}/TempFolder.cpp
        LIBS qloom_cli_lib)

    # The program itself, run as a user would: arguments, standard input, exit codes.
    qloom_gtest(cli_program_tests
        ${CMAKE_CURRENT_LIST_DIR}/ProgramTest.cpp
        ${CMAKE_CURRENT_LIST_DIR}/TempFolder.cpp
        LIBS qloom_cli_lib)
    target_compile_definitions(cli_program_tests PRIVATE QLOOM_CLI_PROGRAM="$<TARGET_FILE:qloom-cli>"
        QLOOM_PROJECT_VERSION="${PROJECT_VERSION}")
    add_dependencies(cli_program_tests qloom-cli)
endif()
